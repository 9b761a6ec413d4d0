#pragma once
// Debian's VLC 3 as the connector's real peer: sound files to play, VLC's own configuration
// file, VLC started as an unprivileged user (it refuses root), and a second console into it.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support.h"
#include "vlcconsole.h"

namespace vlcreal {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* vlcUser = "tolvanu-vlc";
// Why VLC cannot be driven here, or empty when it can.
std::string missingForVlc();

// A folder VLC's user can read, with a home of its own that VLC's user owns.
class vlcHome {
public:
    vlcHome();
    ~vlcHome();
    const fs::path& root() const { return root_; }
    fs::path home() const { return root_ / "home"; }
    fs::path configHome() const { return home() / ".config"; }
    fs::path vlcrc() const { return configHome() / "vlc" / "vlcrc"; }
    fs::path log() const { return root_ / "vlc.log"; }
    // Three short tunes of distinct titles and lengths (20, 25, 30 s), in play order.
    bool makeTunes();
    std::vector<std::string> tunes() const;
    // VLC writes its default configuration file, as on a first start.
    bool letVlcWriteItsConfig();

private:
    fs::path root_;
};

// VLC running as vlcUser in the test's network, with the tunes given and its Lua console on
// consolePort. Stopped (and reaped) by the destructor.
class vlcProcess {
public:
    vlcProcess() = default;
    ~vlcProcess() { stop(); }
    vlcProcess(const vlcProcess&) = delete;
    vlcProcess& operator=(const vlcProcess&) = delete;

    bool start(const vlcHome& home, const std::vector<std::string>& arguments);
    // Waits for VLC to end by itself; false when it did not within the limit.
    bool waitForExit(std::chrono::milliseconds limit);
    void freeze();
    void thaw();
    void kill();
    void stop();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

// The arguments of a VLC that plays the tunes with a silent sound card and offers its console.
std::vector<std::string> playing(const vlcHome& home);

} // namespace vlcreal
