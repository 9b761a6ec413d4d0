#pragma once
// The connector over the stand-in player: commands go straight to the session's dispatcher,
// reports are read back from the log lines the session writes for each one it sends.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "plugins/wmp12/tolvanu_wmp.h"
#include "standin.h"

namespace wmptest {

using namespace std::chrono_literals;

// Waits, bounded, until done() holds; whether it did.
template <class F>
bool waitFor(F done, std::chrono::milliseconds limit = 10000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        Sleep(10);
    }
    return true;
}

inline bool contains(const std::vector<std::string>& list, const std::string& line)
{
    for (const std::string& entry : list)
        if (entry == line)
            return true;
    return false;
}

// Reports sent since the last clearReports(), in order, without their log prefix.
std::vector<std::string> reports();
void clearReports();
bool waitForReport(const std::string& report, std::chrono::milliseconds limit = 5000ms);

class testWmp : public Tolvanu_WMP {
public:
    using Tolvanu_WMP::dispatch;
    std::atomic<int> timeOuts{0};
    std::atomic<int> polls{0};

    bool onTimeOut(vcore::ioport* port) override
    {
        ++timeOuts;
        return Tolvanu_WMP::onTimeOut(port);
    }

protected:
    bool fromThisHost() const override { return false; }
    void poll() override
    {
        ++polls;
        Tolvanu_WMP::poll();
    }
};

// The stand-in's state and its playlist, switches and skin host window.
class WmpTest : public StandinTest {
protected:
    void SetUp() override;
    void TearDown() override;

    playerRecord& player() { return *playerProc_(); }
    void addItem(const wchar_t* artist, const wchar_t* title, double duration) { addProc_(artist, title, duration); }
    bool skinHost(bool shown) { return skinProc_(shown); }
    void version(const wchar_t* text) { versionProc_(text); }

    // Runs one command and answers the reports it sent.
    std::vector<std::string> run(const char16_t* name, const char16_t* argument = u"");
    // One connected session with the three-item playlist below.
    void connectWithPlaylist();

    std::unique_ptr<testWmp> session = std::make_unique<testWmp>();

private:
    standinPlayerProc playerProc_ = nullptr;
    standinPlaylistAddProc addProc_ = nullptr;
    standinSkinHostProc skinProc_ = nullptr;
    standinPlayerVersionProc versionProc_ = nullptr;
};

} // namespace wmptest
