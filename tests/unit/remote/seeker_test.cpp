// The client's answers to the protocol's callbacks, without sockets.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tools/remote/seeker.h"

namespace {

using namespace std::chrono_literals;

std::string bytes(const vcore::str& s)
{
    vcore::str copy(s);
    return copy.narrow();
}

class RemoteSeeker : public ::testing::Test {
protected:
    struct request {
        std::string service, hub, name;
    };
    std::vector<request> requests;
    remote::seeker seeker{[this](const vcore::str& s, const vcore::str& h, const vcore::str& n) {
        requests.push_back({bytes(s), bytes(h), bytes(n)});
    }};

    void seek(const char16_t* onlyHub = u"") { seeker.seekSession(u"media", u"Phone:1234", onlyHub); }
    static remote::timePoint soon() { return std::chrono::steady_clock::now() + 20ms; }
};

TEST_F(RemoteSeeker, AsksTheFirstHubOnceThoughEachAnswersTwice)
{
    seek();
    seeker.serverFound(u"media", u"10.66.0.1");
    seeker.serverFound(u"media", u"10.66.0.1");
    seeker.serverFound(u"media", u"10.66.0.7");
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("media", requests[0].service);
    EXPECT_EQ("10.66.0.1", requests[0].hub);
    EXPECT_EQ("Phone:1234", requests[0].name);
    EXPECT_EQ("10.66.0.1", bytes(seeker.askedHub()));
    // Every hub is listed, each once.
    ASSERT_EQ(2u, seeker.hubs().size());
    EXPECT_EQ("10.66.0.7", bytes(seeker.hubs()[1].address));
}

TEST_F(RemoteSeeker, OnlyTheChosenHubIsAskedButAllAreListed)
{
    seek(u"10.66.0.7");
    seeker.serverFound(u"media", u"10.66.0.1");
    EXPECT_TRUE(requests.empty());
    seeker.serverFound(u"media", u"10.66.0.7");
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("10.66.0.7", requests[0].hub);
    EXPECT_EQ(2u, seeker.hubs().size());
}

TEST_F(RemoteSeeker, NothingIsAskedOutsideASessionSearchOrForAnotherClass)
{
    seeker.serverFound(u"media", u"10.66.0.1");  // discovery only
    seek();
    seeker.serverFound(u"system", u"10.66.0.1");
    seeker.serverFound(u"media", u"");            // no address to send "open" to
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(seeker.waitForAsked(soon()));
    EXPECT_TRUE(seeker.waitForHub(u"system", soon()));
}

TEST_F(RemoteSeeker, TakesTheConnectThatAnswersItsOpen)
{
    seek();
    EXPECT_FALSE(seeker.connectOffered(u"media", u"10.66.0.1", 51000));  // nobody was asked yet
    seeker.serverFound(u"media", u"10.66.0.1");
    EXPECT_FALSE(seeker.connectOffered(u"system", u"10.66.0.1", 26001));
    EXPECT_TRUE(seeker.connectOffered(u"media", u"10.66.0.1", 51000));
    EXPECT_FALSE(seeker.connectOffered(u"media", u"10.66.0.1", 52000));  // a late duplicate
    remote::sessionInfo session;
    ASSERT_EQ(remote::outcome::connected, seeker.waitForSession(soon(), session));
    EXPECT_EQ("media", bytes(session.service));
    EXPECT_EQ("10.66.0.1", bytes(session.hub));
    EXPECT_EQ(51000u, session.port);
}

TEST_F(RemoteSeeker, AConnectWithoutTheHubsAddressUsesTheAskedOne)
{
    seek();
    seeker.serverFound(u"media", u"10.66.0.1");
    ASSERT_TRUE(seeker.connectOffered(u"media", u"", 51000));
    remote::sessionInfo session;
    ASSERT_EQ(remote::outcome::connected, seeker.waitForSession(soon(), session));
    EXPECT_EQ("10.66.0.1", bytes(session.hub));
}

TEST_F(RemoteSeeker, TellsWhyThereIsNoSession)
{
    remote::sessionInfo session;
    seek();
    EXPECT_EQ(remote::outcome::noHub, seeker.waitForSession(soon(), session));
    seeker.serverFound(u"media", u"10.66.0.1");
    EXPECT_EQ(remote::outcome::noConnect, seeker.waitForSession(soon(), session));
    // "connect" whose port is no number reads as 0.
    EXPECT_FALSE(seeker.connectOffered(u"media", u"10.66.0.1", 0));
    EXPECT_EQ(remote::outcome::badPort, seeker.waitForSession(soon(), session));
}

TEST_F(RemoteSeeker, ANewSearchStartsOver)
{
    seek();
    seeker.serverFound(u"media", u"10.66.0.1");
    ASSERT_TRUE(seeker.connectOffered(u"media", u"10.66.0.1", 51000));
    seek();
    seeker.serverFound(u"media", u"10.66.0.1");
    EXPECT_EQ(2u, requests.size());
    remote::sessionInfo session;
    EXPECT_EQ(remote::outcome::noConnect, seeker.waitForSession(soon(), session));
    EXPECT_EQ(0u, session.port);
}

TEST_F(RemoteSeeker, NoticesTheHubClosingTheAgreedSessionOnly)
{
    seek();
    seeker.sessionClosed(u"media");
    seeker.serverFound(u"media", u"10.66.0.1");
    seeker.sessionClosed(u"media");
    EXPECT_FALSE(seeker.closedByHub());
    ASSERT_TRUE(seeker.connectOffered(u"media", u"10.66.0.1", 51000));
    seeker.sessionClosed(u"system");
    EXPECT_FALSE(seeker.closedByHub());
    seeker.sessionClosed(u"media");
    EXPECT_TRUE(seeker.closedByHub());
}

TEST_F(RemoteSeeker, OffersNothing)
{
    int32_t port = 7;
    EXPECT_FALSE(seeker.openRequested(u"media", u"Phone:1", port));
    EXPECT_EQ(0, port);
}

TEST_F(RemoteSeeker, AWaitEndsAsSoonAsTheAnswerComes)
{
    seek();
    std::thread worker([this] {
        std::this_thread::sleep_for(20ms);
        seeker.serverFound(u"media", u"10.66.0.1");
        seeker.connectOffered(u"media", u"10.66.0.1", 51000);
    });
    const auto start = std::chrono::steady_clock::now();
    remote::sessionInfo session;
    const remote::outcome result = seeker.waitForSession(start + 10s, session);
    worker.join();
    EXPECT_EQ(remote::outcome::connected, result);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

} // namespace
