// The node on a real port: a peer at 127.0.0.2 counts as another host, 127.0.0.1 as this one.
#include <gmock/gmock.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "fakes.h"
#include "hub/node/c4node.h"
#include "peer.h"
#include "vnet/address.h"

namespace nodetest {
namespace {

constexpr uint32_t thisHost = vnet::loopbackAddress;
constexpr uint32_t otherHost = 0x7F000002;  // 127.0.0.2, in no local address list

// Keeps the node's "log" lines; the worker thread writes them.
class logBook {
public:
    void onLog(void* line)
    {
        std::lock_guard<std::mutex> hold(lock_);
        lines_.push_back(bytes(*static_cast<vcore::str*>(line)));
    }
    bool has(const std::string& line) const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
    }
    bool anyFrom(const std::string& prefix) const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return std::any_of(lines_.begin(), lines_.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

private:
    mutable std::mutex lock_;
    std::vector<std::string> lines_;
};

// At the log line of one message, takes what had reached the client by then.
struct answerProbe {
    std::string line;
    peer* client = nullptr;
    std::string waiting;
    std::atomic<bool> seen{false};
    void onLog(void* text)
    {
        if (seen || bytes(*static_cast<vcore::str*>(text)) != line)
            return;
        waiting = client->next(0ms);
        seen = true;
    }
};

class hubOwner : public C4Interface {
public:
    std::atomic<int> closed{0};
    void serverFound(const vcore::str&, const vcore::str&) override {}
    bool openRequested(const vcore::str&, const vcore::str&, int32_t& port) override
    {
        port = 51000;
        return true;
    }
    bool connectOffered(const vcore::str&, const vcore::str&, int32_t) override { return false; }
    void sessionClosed(const vcore::str&) override { ++closed; }
};

class NodeOnLoopback : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(portNumber, 0u);
        node.addHandler(u"log", &book, &logBook::onLog);
        node.port().setTimeOut(200);
        ASSERT_TRUE(node.open(&owner));
    }

    // The client takes the node's port number at 127.0.0.2, where the node's replies go.
    void listenAtOtherHost()
    {
        ASSERT_TRUE(sharePort(node.port().socketHandle()));
        ASSERT_TRUE(client.bind(otherHost, portNumber, true));
    }
    // Some systems (Wine) send from 127.0.0.1 whatever loopback address a socket is bound to.
    static bool otherHostSendsAsItself()
    {
        peer from, to;
        if (!from.bind(otherHost, 0) || !to.bind(thisHost, 0) || !from.sendTo("probe", thisHost, to.port()))
            return false;
        uint32_t sender = 0;
        return to.next(1000ms, &sender) == "probe" && sender == otherHost;
    }
    void say(const std::string& message) { ASSERT_TRUE(client.sendTo(message, thisHost, portNumber)); }

    const uint32_t portNumber = freePort();
    logBook book;
    answerProbe probe;  // outlives the node, whose worker may still log
    hubOwner owner;
    C4Node node{portNumber};
    peer client;
};

TEST_F(NodeOnLoopback, DatagramsFromThisHostGoUnheard)
{
    peer self;
    ASSERT_TRUE(self.bind(thisHost, 0));
    ASSERT_TRUE(self.sendTo("", thisHost, portNumber));
    ASSERT_TRUE(self.sendTo(std::string(65507, 'x'), thisHost, portNumber));
    ASSERT_TRUE(self.sendTo("whoami;127.0.0.2;", thisHost, portNumber));
    ASSERT_TRUE(waitUntil([&] { return node.port().lastSender() == thisHost; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(book.anyFrom("[in:"));
}

TEST_F(NodeOnLoopback, MessagesGoToTheNodesPortAtTheAddressGiven)
{
    listenAtOtherHost();
    node.requestOpen(text("media"), text("127.0.0.2"), text("Phone:\xE9"));
    EXPECT_TRUE(client.await("open;media;;Phone:\xE9;"));
}

TEST_F(NodeOnLoopback, AnotherHostIsAnsweredOneMessagePerDatagram)
{
    if (!otherHostSendsAsItself())
        GTEST_SKIP() << "no second host on this system's loopback";
    listenAtOtherHost();
    say("");
    const std::string largest = "whoami;127.0.0.2;" + std::string(65507 - 17, '\xFF');
    say(largest);
    EXPECT_TRUE(client.await("youare;127.0.0.2;"));
    // The answer leaves before its log line.
    EXPECT_TRUE(waitUntil([&] { return book.has("[in:127.0.0.2] " + largest); }, 2000ms));

    say(std::string("youare;10.9.8.7;\0whois", 22));
    EXPECT_TRUE(client.await("thankyou;127.0.0.2;"));
    EXPECT_EQ(bytes(node.ownAddress()), "10.9.8.7");

    node.announce(text("media"));
    EXPECT_TRUE(client.await("server;media;10.9.8.7;"));
    say("open;media;127.0.0.2;Phone:1;");
    EXPECT_TRUE(client.await("connect;media;10.9.8.7;51000;"));
    node.closeSessions();
    EXPECT_TRUE(client.await("close;media;"));
    EXPECT_EQ(owner.closed, 1);
    // Long handled by now, on the same worker: what followed the NUL was no message.
    EXPECT_FALSE(book.anyFrom("[in:127.0.0.2] whois"));
}

// The log line of a message is written after the message's answer has gone out.
TEST_F(NodeOnLoopback, AnswersLeaveBeforeTheirLogLines)
{
    if (!otherHostSendsAsItself())
        GTEST_SKIP() << "no second host on this system's loopback";
    listenAtOtherHost();
    probe.line = "[in:127.0.0.2] whoami;127.0.0.2;";
    probe.client = &client;
    node.addHandler(u"log", &probe, &answerProbe::onLog);
    say("whoami;127.0.0.2;");
    ASSERT_TRUE(waitUntil([&] { return probe.seen.load(); }, 3000ms));
    EXPECT_EQ(probe.waiting, "youare;127.0.0.2;");
}

TEST_F(NodeOnLoopback, QuietPeriodsAfterLearningBringTheAnnouncementAgain)
{
    if (!otherHostSendsAsItself())
        GTEST_SKIP() << "no second host on this system's loopback";
    listenAtOtherHost();
    node.announce(text("media"));
    say("youare;10.9.8.7;");
    ASSERT_TRUE(client.await("thankyou;127.0.0.2;"));
    const auto learnt = std::chrono::steady_clock::now();
    EXPECT_TRUE(client.await("server;media;10.9.8.7;", 5000ms));
    EXPECT_GE(std::chrono::steady_clock::now() - learnt, 400ms);
}

} // namespace
} // namespace nodetest
