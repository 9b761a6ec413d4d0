// The VLC session over a stand-in for VLC: the connector's commands, VLC's answers read on
// the other worker, the state shared between them, and a VLC that stops answering or goes away.
#include <gtest/gtest.h>

#include <thread>

#include "fakevlc.h"
#include "plugins/common/hostlink.h"
#include "plugins/vlc/tolvanu_vlc.h"
#include "vlcsupport.h"

using namespace vlctest;
using nettest::waitUntil;

namespace {

// The session with its configuration in a folder of the test's, and its dispatcher at hand.
class testVlc : public Tolvanu_VLC {
public:
    explicit testVlc(const fs::path& config) : config_(text(config)) {}
    using Tolvanu_VLC::dispatch;
    using Tolvanu_VLC::poll;

    bool run(const char16_t* name, const char16_t* argument = u"")
    {
        return dispatch(vcore::str(name), vcore::str(argument));
    }

protected:
    vcore::str configPath() const override { return config_; }

private:
    vcore::str config_;
};

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        plugin::setHostCallback(hostCallback);
        clearLog();
        writeFile(config, "extraintf=oldrc\nrc-host=localhost:" + std::to_string(vlc.port()) + "\n");
        answerLikeVlc();
        ASSERT_TRUE(waitUntil([&] { return session.present(); }, 2000ms));
    }
    // As the hub does before unloading: no worker may call into the session while it goes.
    void TearDown() override
    {
        session.closeSession();
        plugin::setHostCallback(nullptr);
    }

    void answerLikeVlc()
    {
        vlc.answer("status", "status change: ( new input: file:///m/a.flac )\r\nstatus change: ( audio volume: 256 )\r\n"
                             "status change: ( play state: 3 )\r\nstatus: returned 0 (no error)\r\n");
        vlc.answer("get_length", "20\r\n");
        vlc.answer("get_time", "5\r\n");
        vlc.answer("get_title", "Alpha Tone\r\n");
        vlc.answer("playlist", "+----[ Playlist ]\r\n|- Playlist\r\n|  - Alpha Tone (00:20)\r\n|  - Bravo Tone (00:25)\r\n"
                               "|- Media Library\r\n+----[ End of playlist ]\r\nplaylist: returned 0 (no error)\r\n");
    }

    scratch folder;
    fs::path config = folder.path() / "vlc" / "vlcrc";
    fakeVlc vlc;
    testVlc session{config};
};

long millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

} // namespace

TEST_F(Session, AStateRequestIsAnsweredFromWhatVlcSaid)
{
    EXPECT_TRUE(session.run(u"media.get_complete"));
    EXPECT_TRUE(logHas("[media>all] media.volume 50.00"));
    EXPECT_TRUE(logHas("[media>all] media.pos 25.00 0:05 0:20 -0:15"));
    EXPECT_TRUE(logHas("[media>all] media.title Alpha Tone"));
    EXPECT_TRUE(logHas("[media>all] media.list_title Bravo Tone"));
    EXPECT_TRUE(session.run(u"media.get_state"));  // now with the list: the title is found in it
    EXPECT_TRUE(logHas("[media>all] media.track 0"));
    EXPECT_FALSE(session.run(u"media.set_rating", u"3")) << "not a VLC command";
}

// Status lines VLC sends of its own accord meet the session's commands on the state: the two
// workers must take turns (this is what the thread sanitizer build watches).
TEST_F(Session, VlcTalkingWhileCommandsRun)
{
    std::atomic<bool> talking{true};
    std::thread vlcTalks([&] {
        for (int i = 0; i < 200 && talking; ++i) {
            vlc.say(i % 2 ? "status change: ( audio volume: 128 )\r\n" : "status change: ( pause state: 3 ): Pause\r\n");
            std::this_thread::sleep_for(1ms);
        }
    });
    for (int i = 0; i < 20; ++i) {
        session.run(u"media.get_state");
        session.run(u"media.add_pos", u"1");
        session.poll();
    }
    talking = false;
    vlcTalks.join();
    EXPECT_TRUE(waitForLog("[media>all] media.volume 25.00"));
    EXPECT_TRUE(waitForLog("[media>all] media.speed 0.0"));
}

TEST_F(Session, AVlcThatStopsOrGoesAwayHoldsNothingUp)
{
    vlc.setSilent(true);
    auto start = std::chrono::steady_clock::now();
    session.run(u"media.get_complete");  // five commands, none answered
    EXPECT_LT(millisecondsSince(start), 1000);
    EXPECT_TRUE(logHas("[media>all] media.title "));

    vlc.stop();
    EXPECT_TRUE(waitUntil([&] { return !session.present(); }, 2000ms));
    start = std::chrono::steady_clock::now();
    session.run(u"media.next");
    session.poll();
    EXPECT_LT(millisecondsSince(start), 500);

    vlc.setSilent(false);
    ASSERT_TRUE(vlc.restart());
    ASSERT_TRUE(waitUntil([&] { return session.present(); }, 3000ms)) << "back with VLC";
    clearLog();
    session.run(u"media.get_state");
    EXPECT_TRUE(logHas("[media>all] media.title Alpha Tone"));
}

TEST_F(Session, CloseLogsOutOfVlcAndLetsItGo)
{
    session.closeSession();
    EXPECT_TRUE(vlc.waitForCommand("logout"));
    EXPECT_TRUE(logHas("[media>all] media.close"));
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(vlc.connections(), 1) << "no reconnect after the close";
}

// The session port is VLC's fixed one; reports go to the client that spoke last.
TEST_F(Session, ConnectServesTheClientOnPort6638)
{
    if (!nettest::sourceKept(nettest::loopback2))
        GTEST_SKIP() << "this system sends from 127.0.0.1 whatever the socket is bound to";
    ASSERT_EQ(session.connectSession(), Tolvanu_VLC::sessionPort);
    nettest::peer client;
    ASSERT_TRUE(client.bind(nettest::loopback2));
    ASSERT_TRUE(client.sendTo("media.get_state", nettest::loopback, Tolvanu_VLC::sessionPort));
    EXPECT_TRUE(waitForLog("[media:127.0.0.2] media.get_state"));
    EXPECT_TRUE(waitForLog("[media>127.0.0.2] media.title Alpha Tone"));
    // Active now: the poll asks VLC again within a period.
    vlc.forgetCommands();
    EXPECT_TRUE(vlc.waitForCommand("get_time", std::chrono::milliseconds(Tolvanu_VLC::pollMs + 1000)));
    session.closeSession();
    EXPECT_TRUE(waitForLog("[media>127.0.0.2] media.close"));
}
