#pragma once
// A session whose player side only writes down what the frame asked of it, and a host
// callback that writes down the log lines, both into one timeline.
#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "plugins/common/pluginabi.h"
#include "plugins/common/session.h"

namespace frametest {

using namespace std::chrono_literals;

// Steps of the probe and "log:<line>" entries of the callback, in the order they happened.
std::vector<std::string> timeline();
void clearTimeline();
void note(const std::string& entry);
std::vector<std::string> logLines();
bool waitForLog(const std::string& line, std::chrono::milliseconds limit = 3000ms);
bool anyLogStartingWith(const std::string& prefix);

// Records "log" lines; answers 1 to everything, as the hub does.
int TOLVANU_STDCALL recordingCallback(const char16_t* command, const char16_t* argument);

std::string narrow(const vcore::str& s);

class probeSession : public plugin::session {
public:
    explicit probeSession(const char16_t* serviceName = u"media.VLC") : session(serviceName) {}
    ~probeSession() override { close(); }

    std::atomic<bool> prepared{true};
    std::atomic<bool> reachable{true};
    // Texts from loopback count as a remote client's (the real test is in fromThisHost()).
    std::atomic<bool> loopbackIsRemote{false};
    uint32_t fixedPort = 0;
    uint32_t pauseMs = 0;
    uint32_t periodMs = 1000;
    bool reopen = true;
    std::atomic<int> polls{0};

    // What dispatch received: (name, argument).
    std::vector<std::pair<std::string, std::string>> commands() const;
    bool waitForCommands(size_t count, std::chrono::milliseconds limit = 3000ms) const;
    // Reports then go to this address (a loopback one other than 127.0.0.1 stays on this host).
    void pretendClientAt(const char16_t* address) { setRemoteText(vcore::str(address)); }

    bool prepare() override { return prepared; }
    bool present() override;
    using session::open;
    bool open(const char16_t* address) override;

protected:
    uint32_t pollPeriod() const override { return periodMs; }
    uint32_t sessionPortNumber() const override { return fixedPort; }
    uint32_t closePause() const override { return pauseMs; }
    bool reopensOnConnect() const override { return reopen; }
    void resetState() override { frametest::note("reset"); }
    void closingSession() override { frametest::note("closing"); }
    bool dispatch(const vcore::str& name, const vcore::str& argument) override;
    void poll() override { ++polls; }
    void releasePlayer() override { frametest::note("release"); }
    bool fromThisHost() const override { return !loopbackIsRemote && session::fromThisHost(); }

private:
    mutable std::mutex lock_;
    std::vector<std::pair<std::string, std::string>> commands_;
};

} // namespace frametest
