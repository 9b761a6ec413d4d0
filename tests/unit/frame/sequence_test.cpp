// The connect and close sequences of a session, on real ports of this host.
#include <gtest/gtest.h>

#include <thread>

#include "plugins/common/hostlink.h"
#include "probe.h"
#include "support.h"

using namespace frametest;
using nettest::peer;

namespace {

class Sequence : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearTimeline();
        plugin::setHostCallback(&recordingCallback);
    }

    probeSession vlc;
};

using clock = std::chrono::steady_clock;

} // namespace

TEST_F(Sequence, ConnectOpensADatagramServerOnThePortTheSystemChose)
{
    vlc.periodMs = 940;
    vlc.setActive(true);
    const uint32_t port = vlc.connectSession();
    ASSERT_NE(port, 0u);
    EXPECT_EQ(port, vlc.portNumber());
    EXPECT_TRUE(vlc.isOpen());
    EXPECT_TRUE(vlc.connected());
    EXPECT_EQ(vlc.socketType(), vnet::sock::typeDatagram);
    EXPECT_TRUE(vlc.flags() & vnet::netPort::flagServer);
    EXPECT_EQ(vlc.timeOut(), 940u);
    EXPECT_FALSE(vlc.active()) << "a new client starts inactive";
    EXPECT_EQ(timeline(), (std::vector<std::string>{"present", "reset", "open"}));
    EXPECT_TRUE(vlc.stateLock().wait(0)) << "the lock must be given back";
    vlc.stateLock().release();
}

TEST_F(Sequence, ConnectWithoutThePlayerOpensNothing)
{
    vlc.reachable = false;
    EXPECT_EQ(vlc.connectSession(), 0u);
    EXPECT_FALSE(vlc.isOpen());
    EXPECT_EQ(timeline(), (std::vector<std::string>{"present"}));
}

TEST_F(Sequence, ConnectGivesUpWhenTheStateLockStaysTaken)
{
    ASSERT_TRUE(vlc.stateLock().wait(0));
    const auto start = clock::now();
    EXPECT_EQ(vlc.connectSession(), 0u);
    const auto waited = clock::now() - start;
    vlc.stateLock().release();
    EXPECT_GE(waited, 900ms);
    EXPECT_LT(waited, 3000ms);
    EXPECT_TRUE(timeline().empty());
    EXPECT_FALSE(vlc.isOpen());
}

TEST_F(Sequence, APortTakenByOthersFailsTheConnectAndLetsThePlayerGo)
{
    peer squatter;
    ASSERT_TRUE(squatter.bind(0));
    vlc.fixedPort = squatter.port();
    EXPECT_EQ(vlc.connectSession(), 0u);
    EXPECT_FALSE(vlc.isOpen()) << "no worker may keep trying to bind";
    EXPECT_EQ(timeline(), (std::vector<std::string>{"present", "reset", "open", "release"}));
}

TEST_F(Sequence, AnOpenPortIsKeptOnlyWhenTheConnectorSaysSo)
{
    vlc.reopen = false;
    const uint32_t first = vlc.connectSession();
    ASSERT_NE(first, 0u);
    EXPECT_EQ(vlc.connectSession(), first);
    EXPECT_EQ(timeline(), (std::vector<std::string>{"present", "reset", "open", "present", "reset"}));

    probeSession reopening;
    clearTimeline();
    ASSERT_NE(reopening.connectSession(), 0u);
    ASSERT_NE(reopening.connectSession(), 0u);
    EXPECT_TRUE(reopening.isOpen());
    EXPECT_EQ(timeline(), (std::vector<std::string>{"present", "reset", "open", "present", "reset", "open"}));
}

TEST_F(Sequence, CloseTellsTheClientPausesThenClosesAndLetsGo)
{
    vlc.pauseMs = 150;
    ASSERT_NE(vlc.connectSession(), 0u);
    vlc.pretendClientAt(u"127.0.0.2");
    vlc.setActive(true);
    clearTimeline();
    const auto start = clock::now();
    vlc.closeSession();
    EXPECT_GE(clock::now() - start, 150ms);
    EXPECT_EQ(timeline(), (std::vector<std::string>{"closing", "log:[media>127.0.0.2] media.close", "release"}));
    EXPECT_FALSE(vlc.isOpen());
    EXPECT_FALSE(vlc.active());
}

TEST_F(Sequence, CloseWithNothingOpenOnlyFailsToWrite)
{
    vlc.closeSession();
    EXPECT_EQ(timeline(), (std::vector<std::string>{"closing", "log:[media>all] media.close", "release"}));
    EXPECT_FALSE(vlc.sendReport(vcore::str(u"media.play")));
}
