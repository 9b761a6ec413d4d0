// The connection to VLC's remote-control interface: one command at a time, its reply parsed on
// the port's worker, and nothing that VLC does or fails to do can hold the sender longer than
// the waits.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "fakevlc.h"
#include "plugins/vlc/vlclink.h"
#include "vlcsupport.h"

using namespace vlctest;
using nettest::waitUntil;

namespace {

using clock_type = std::chrono::steady_clock;

class keptOutcomes : public vlc::replySink {
public:
    void deliver(const vlc::lineOutcome& outcome) override
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (const vcore::str& r : outcome.reports)
            reports_.push_back(narrow(r));
    }
    bool has(const std::string& report) const
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (const std::string& r : reports_)
            if (r == report)
                return true;
        return false;
    }

private:
    mutable std::mutex lock_;
    std::vector<std::string> reports_;
};

class Link : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(vlc.listening());
        ASSERT_TRUE(link.open(int32_t(vlc.port())));
        ASSERT_TRUE(waitUntil([&] { return link.connected(); }, 2000ms));
    }

    bool send(const char16_t* command)
    {
        std::lock_guard<std::mutex> hold(access);
        return link.sendCommand(vcore::str(command));
    }

    // Milliseconds a command took to come back.
    long timed(const char16_t* command, bool& complete)
    {
        const auto start = clock_type::now();
        complete = send(command);
        return long(std::chrono::duration_cast<std::chrono::milliseconds>(clock_type::now() - start).count());
    }

    template <class Read>
    auto state(Read read)
    {
        std::lock_guard<std::mutex> hold(access);
        return read(remembered);
    }

    fakeVlc vlc;
    vlc::vlcState remembered;
    std::mutex access;
    keptOutcomes sink;
    vlc::vlcLink link{remembered, access, sink};
};

} // namespace

TEST_F(Link, TheAnswerIsInTheStateWhenTheSenderGoesOn)
{
    vlc.answer("get_title", "status change: ( new input: file:///m/a.flac )\r\nstatus change: ( play state: 3 )\r\n"
                            "Alpha Tone\r\n");
    EXPECT_TRUE(send(u"get_title\n"));
    EXPECT_EQ(state([](vlc::vlcState& s) { return narrow(s.title); }), "Alpha Tone");
    EXPECT_EQ(state([](vlc::vlcState& s) { return s.playState; }), vlc::playing);
    EXPECT_TRUE(waitUntil([&] { return sink.has("media.speed 1.0"); }, 1000ms));
}

// VLC's play list may come in several pieces, cut anywhere.
TEST_F(Link, AReplyInPiecesIsJoined)
{
    vlc.setSilent(true);
    bool complete = false;
    std::thread sender([&] { complete = send(u"playlist\n"); });
    ASSERT_TRUE(vlc.waitForCommand("playlist"));
    vlc.say("+----[ Play");
    std::this_thread::sleep_for(30ms);
    vlc.say("list ]\r\n|- Playlist\r\n|  - One (00:20)\r\n|  - Tw");
    std::this_thread::sleep_for(30ms);
    vlc.say("o (01:00:25)\r\n|- Media Library\r\n+----[ End of playlist ]\r\nplaylist: returned 0 (no error)\r\n");
    sender.join();
    EXPECT_TRUE(complete);
    EXPECT_EQ(state([](vlc::vlcState& s) { return s.list.size(); }), 2u);
    EXPECT_EQ(state([](vlc::vlcState& s) { return narrow(s.list.back()); }), "Two");
}

TEST_F(Link, SilenceCostsOnlyTheWaits)
{
    bool complete = true;
    vlc.setSilent(true);
    EXPECT_LT(timed(u"get_time\n", complete), 120);
    EXPECT_FALSE(complete);

    // Started but never finished: 150 ms, or 1000 ms for the play list.
    vlc.setSilent(false);
    vlc.answer("get_length", "status change: ( audio volume: 256 )\r\n");
    long took = timed(u"get_length\n", complete);
    EXPECT_FALSE(complete);
    EXPECT_GE(took, 140);
    EXPECT_LT(took, 600);
    EXPECT_EQ(state([](vlc::vlcState& s) { return s.volume; }), 50.0);

    vlc.answer("playlist", "+----[ Playlist ]\r\n|- Playlist\r\n");
    took = timed(u"playlist\n", complete);
    EXPECT_FALSE(complete);
    EXPECT_GE(took, 990);
    EXPECT_LT(took, 1600);
}

// While paused VLC 3 refuses most commands with an extra line before the usual confirmation,
// and prints status lines after it: all of it is read at once, not left for the next command.
TEST_F(Link, LinesAfterTheAnswerAreReadAtOnce)
{
    vlc.answer("volume 256", "Type 'pause' to continue.\r\nvolume: returned 0 (no error)\r\n"
                             "status change: ( pause state: 3 ): Pause\r\n");
    vlc.answer("get_time", "12\r\n");
    EXPECT_TRUE(send(u"volume 256\n"));
    EXPECT_TRUE(waitUntil([&] { return state([](vlc::vlcState& s) { return s.playState; }) == vlc::paused; }, 500ms));
    EXPECT_TRUE(send(u"get_time\n"));
    EXPECT_EQ(state([](vlc::vlcState& s) { return s.time; }), 12.0);

    vlc.say("status change: ( audio volume: 128 )\r\n");
    EXPECT_TRUE(waitUntil([&] { return sink.has("media.volume 25.00"); }, 1000ms));
}

// VLC 3 toggles on "pause" and confirms it with "pause: returned 0 (no error)", before or after
// the status line that says what it did: the status line decides.
TEST_F(Link, PauseConfirmationLeavesTheStateToVlcsStatusLine)
{
    vlc.answer("pause", "status change: ( play state: 2 ): Play\r\npause: returned 0 (no error)\r\n");
    EXPECT_TRUE(send(u"pause\n"));
    EXPECT_EQ(state([](vlc::vlcState& s) { return s.playState; }), vlc::playing);

    vlc.answer("pause", "pause: returned 0 (no error)\r\nstatus change: ( pause state: 3 ): Pause\r\n");
    EXPECT_TRUE(send(u"pause\n"));
    EXPECT_TRUE(waitUntil([&] { return state([](vlc::vlcState& s) { return s.playState; }) == vlc::paused; }, 500ms));
}

TEST_F(Link, VlcGoneAndBack)
{
    vlc.say("Alp");  // cut off by the restart: must not join the next connection's first line
    std::this_thread::sleep_for(50ms);
    vlc.stop();
    ASSERT_TRUE(waitUntil([&] { return !link.connected(); }, 2000ms));
    bool complete = true;
    EXPECT_LT(timed(u"get_title\n", complete), 50);
    EXPECT_FALSE(complete);

    ASSERT_TRUE(vlc.restart());
    ASSERT_TRUE(waitUntil([&] { return link.connected(); }, 3000ms)) << "the link reconnects by itself";
    vlc.answer("get_title", "Bravo Tone\r\n");
    EXPECT_TRUE(send(u"get_title\n"));
    EXPECT_EQ(state([](vlc::vlcState& s) { return narrow(s.title); }), "Bravo Tone");

    link.close();
    EXPECT_FALSE(send(u"get_title\n"));
}
