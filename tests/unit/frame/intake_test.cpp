// Message intake, reports and the poll of a connected session, over loopback.
#include <gtest/gtest.h>

#include <thread>

#include "plugins/common/hostlink.h"
#include "probe.h"
#include "support.h"

using namespace frametest;
using nettest::loopback;
using nettest::loopback2;
using nettest::peer;
using command = std::pair<std::string, std::string>;

namespace {

// A connected session whose client is, as far as reports go, at 127.0.0.2.
class Intake : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearTimeline();
        plugin::setHostCallback(&recordingCallback);
        vlc.loopbackIsRemote = true;
        port = vlc.connectSession();
        ASSERT_NE(port, 0u);
        vlc.pretendClientAt(u"127.0.0.2");
    }

    void send(const std::string& datagram) { ASSERT_TRUE(client.sendTo(datagram, loopback, port)); }

    probeSession vlc;
    uint32_t port = 0;
    peer client;
};

} // namespace

TEST_F(Intake, CommandsAreLowerCasedAndCutAtSingleSpaces)
{
    send("MEDIA.PLAY");
    send("media.set_volume  50");
    send("media.search one two");
    send("media.search Bj\xc3\xb6rk");
    send(std::string("media.next\0media.prev", 21));
    ASSERT_TRUE(vlc.waitForCommands(6));
    EXPECT_EQ(vlc.commands(), (std::vector<command>{{"media.play", ""},
                                                    {"media.set_volume", ""},
                                                    {"media.search", "one"},
                                                    {"media.search", "Bj\xf6rk"},
                                                    {"media.next", ""},
                                                    {"media.prev", ""}}));
    EXPECT_TRUE(waitForLog("[media:127.0.0.2] MEDIA.PLAY"));
    EXPECT_TRUE(waitForLog("[media:127.0.0.2] media.set_volume  50"));
}

TEST_F(Intake, EmptyTextsAreIgnoredAndDoNotStallTheIntake)
{
    send("");
    send(std::string("\0\0", 2));
    send(std::string("\0media.stop", 11));
    ASSERT_TRUE(vlc.waitForCommands(1));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(vlc.commands(), (std::vector<command>{{"media.stop", ""}}));
}

TEST_F(Intake, TextsFromThisHostAreSkippedUnheardAndUnlogged)
{
    vlc.loopbackIsRemote = false;
    send("media.play");
    std::this_thread::sleep_for(400ms);
    EXPECT_TRUE(vlc.commands().empty());
    EXPECT_FALSE(anyLogStartingWith("[media:"));
}

TEST_F(Intake, AClientWhoseAddressIsNotThisHostsIsHeard)
{
    vlc.loopbackIsRemote = false;
    if (!nettest::sourceKept(loopback2))
        GTEST_SKIP() << "this system sends from 127.0.0.1 whatever the socket is bound to";
    peer stranger;
    ASSERT_TRUE(stranger.bind(loopback2));
    ASSERT_TRUE(stranger.sendTo("media.pause", loopback, port));
    ASSERT_TRUE(vlc.waitForCommands(1));
    EXPECT_EQ(vlc.commands(), (std::vector<command>{{"media.pause", ""}}));
    EXPECT_TRUE(waitForLog("[media:127.0.0.2] media.pause"));
}

TEST_F(Intake, PollingStartsWithTheFirstStateRequest)
{
    vlc.periodMs = 50;
    ASSERT_NE(vlc.connectSession(), 0u);
    port = vlc.portNumber();
    send("media.play");
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(vlc.polls, 0);
    send("media.get_state");
    EXPECT_TRUE(nettest::waitUntil([&] { return vlc.polls >= 2; }, 3000ms));
    EXPECT_TRUE(vlc.active());

    // A new client starts without polls.
    ASSERT_NE(vlc.connectSession(), 0u);
    EXPECT_FALSE(vlc.active());
}

TEST_F(Intake, EachStateRequestStartsPolling)
{
    for (const char* request : {"media.get_complete 1", "media.get_list", "MEDIA.GET_SHORTLIST 5"}) {
        vlc.setActive(false);
        send(request);
        EXPECT_TRUE(nettest::waitUntil([&] { return vlc.active(); }, 3000ms)) << request;
    }
}

TEST_F(Intake, ReportsGoToTheClientAtTheSessionsOwnPortNumber)
{
    // The client's address is on this host, so the session hears its own report.
    EXPECT_TRUE(vlc.sendReport(vcore::str(u"media.volume 0.50")));
    EXPECT_TRUE(vlc.sendReport(vcore::str(u"media.title a\u20acb")));
    ASSERT_TRUE(vlc.waitForCommands(2));
    EXPECT_EQ(vlc.commands(), (std::vector<command>{{"media.volume", "0.50"}, {"media.title", "a?b"}}));
    EXPECT_TRUE(waitForLog("[media>127.0.0.2] media.volume 0.50"));
}
