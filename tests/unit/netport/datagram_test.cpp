// Datagram ports on loopback: opening, receiving, sender tracking, replies and broadcasts.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "support.h"
#include "vnet/address.h"

namespace {

using namespace vnet;
using namespace nettest;

std::unique_ptr<netPort> datagramPort(uint32_t flags = netPort::flagDatagram)
{
    return std::make_unique<netPort>(nullptr, 0, flags, sock::typeDatagram, sock::protoUdp);
}

std::vector<std::string> partsRead(const recorder& events)
{
    std::vector<std::string> parts;
    for (const record& r : events.records())
        parts.insert(parts.end(), r.parts.begin(), r.parts.end());
    return parts;
}

bool waitForPart(const recorder& events, const std::string& part)
{
    return waitUntil([&] {
        for (const std::string& p : partsRead(events))
            if (p == part)
                return true;
        return false;
    }, 3000ms);
}

TEST(Datagram, ClientRaisesOnOpenOnceDuringOpenOnTheCallersThread)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    ASSERT_EQ(events.count("onOpen"), 1u);
    EXPECT_EQ(events.records()[0].thread, std::this_thread::get_id());
    EXPECT_NE(port->portNumber(), 0u);
    EXPECT_TRUE(port->isConnected());
    EXPECT_TRUE(port->waitOpen(0));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(events.count("onOpen"), 1u);
}

TEST(Datagram, EverySizeArrivesWholeAndEmptyOnesDoNotStall)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    std::string withNuls("a\0b\0\0", 5);
    std::string largest(65507, '\0');
    for (size_t i = 0; i < largest.size(); ++i)
        largest[i] = char(i * 7);
    peer sender;
    for (const std::string& d : {std::string(), std::string("x"), withNuls, std::string(1472, 'm'), largest})
        ASSERT_TRUE(sender.sendTo(d, loopback, port->portNumber()));
    ASSERT_TRUE(sender.sendTo("after", loopback, port->portNumber()));
    ASSERT_TRUE(waitForPart(events, "after"));
    std::vector<std::string> expected = {"x", withNuls, std::string(1472, 'm'), largest, "after"};
    EXPECT_TRUE(partsRead(events) == expected);
}

TEST(Datagram, BufferedDatagramIsReleasedBeforeTheNextIsReceived)
{
    recorder events;
    events.reading = false;
    std::atomic<bool> bothSent{false};
    std::vector<uint64_t> seen;
    events.beforeRead = [&](netPort& p) {
        if (!seen.empty())
            return;
        waitUntil([&] { return bothSent.load(); }, 2000ms);
        uint64_t first = p.available();
        std::string block(size_t(first), '\0');
        uint32_t count = 0;
        p.read(block.data(), uint32_t(first), count);
        uint64_t drained = p.available();
        uint64_t next = p.available();
        seen = {first, count, drained, next};
    };
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    peer sender;
    sender.sendTo("first!", loopback, port->portNumber());
    sender.sendTo("second datagram", loopback, port->portNumber());
    bothSent = true;
    ASSERT_TRUE(events.waitFor("onData", 1));
    EXPECT_EQ(seen, (std::vector<uint64_t>{6, 6, 0, 15}));
}

// A library's port: bound at load, served only once the host first calls in.
TEST(Datagram, HeldWorkerKeepsDatagramsUntilItStarts)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    port->holdWorker();
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    ASSERT_NE(port->portNumber(), 0u);
    peer sender;
    ASSERT_TRUE(sender.sendTo("early", loopback, port->portNumber()));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(events.count("onData"), 0u);
    EXPECT_TRUE(port->startWorker());
    EXPECT_FALSE(port->startWorker());
    EXPECT_TRUE(waitForPart(events, "early"));

    // Closed before it ever served, it frees its number at once and starts nothing later.
    auto unserved = datagramPort();
    unserved->holdWorker();
    ASSERT_TRUE(unserved->open(u"127.0.0.1"));
    const uint32_t number = unserved->portNumber();
    unserved->close();
    EXPECT_FALSE(unserved->startWorker());
    auto next = datagramPort();
    next->setPortNumber(number);
    EXPECT_TRUE(next->open(u"127.0.0.1"));
}

TEST(Datagram, ReadWithNothingAvailableFailsWithoutBlocking)
{
    auto port = datagramPort();
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    char buffer[16];
    uint32_t count = 99;
    EXPECT_FALSE(port->read(buffer, sizeof buffer, count));
    EXPECT_EQ(count, 0u);
}

TEST(Datagram, SendersOnThisHostDoNotBecomeTheRemoteAddress)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    peer self;
    ASSERT_TRUE(self.bind(loopback));
    self.sendTo("from one", loopback, port->portNumber());
    ASSERT_TRUE(waitForPart(events, "from one"));
    EXPECT_EQ(port->lastSender(), loopback);
    EXPECT_TRUE(port->lastSenderIsLocal());
    EXPECT_EQ(port->remoteAddress(), loopback);  // still the name's address

    // Sending from an own interface address is safe only in the test's own network.
    std::vector<uint32_t> locals;
    if (!broadcastContained() || !port->localAddresses(locals) || locals.empty())
        return;
    peer own;
    ASSERT_TRUE(own.bind(locals[0]));
    own.sendTo("from own", locals[0], port->portNumber());
    ASSERT_TRUE(waitForPart(events, "from own"));
    EXPECT_EQ(port->lastSender(), locals[0]);
    EXPECT_TRUE(port->lastSenderIsLocal());
    EXPECT_EQ(port->remoteAddress(), loopback);
}

TEST(Datagram, ForeignSenderBecomesTheRemoteAddressForReplies)
{
    if (!sourceKept(loopback2))
        GTEST_SKIP() << "this system sends from 127.0.0.1 whatever the socket is bound to";
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    peer stranger;
    ASSERT_TRUE(stranger.bind(loopback2));
    stranger.sendTo("from two", loopback, port->portNumber());
    ASSERT_TRUE(waitForPart(events, "from two"));
    EXPECT_EQ(port->remoteAddress(), loopback2);
    EXPECT_EQ(port->remoteText(), vcore::str(u"127.0.0.2"));
    EXPECT_EQ(port->lastSender(), loopback2);
    EXPECT_FALSE(port->lastSenderIsLocal());

    peer self;
    ASSERT_TRUE(self.bind(loopback));
    self.sendTo("from one", loopback, port->portNumber());
    ASSERT_TRUE(waitForPart(events, "from one"));
    EXPECT_EQ(port->remoteAddress(), loopback2);

    // A reply goes to the remote address at the port's OWN number, so the port hears it itself.
    uint32_t count = 0;
    EXPECT_TRUE(port->write("reply", 5, count));
    EXPECT_EQ(count, 5u);
    EXPECT_TRUE(waitForPart(events, "reply"));
}

TEST(Datagram, ZeroByteWritesNeedAConnectedPort)
{
    auto port = datagramPort();
    uint32_t count = 9;
    EXPECT_FALSE(port->write("", 0, count));
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(port->writeTo(loopback2, "", 0, count));

    recorder events;
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    count = 9;
    EXPECT_TRUE(port->write("", 0, count));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(events.waitFor("onData", 1));  // the empty datagram came back to the port
    port->close();
    EXPECT_FALSE(port->write("", 0, count));
}

TEST(Datagram, LargeWritesGoOutInChunks)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    std::string payload(40000, 'q');
    payload[32767] = 'e';
    payload[32768] = 's';
    uint32_t count = 0;
    ASSERT_TRUE(port->write(payload.data(), uint32_t(payload.size()), count));
    EXPECT_EQ(count, payload.size());
    ASSERT_TRUE(waitUntil([&] { return partsRead(events).size() >= 2; }, 3000ms));
    std::vector<std::string> expected = {payload.substr(0, 32768), payload.substr(32768)};
    EXPECT_TRUE(partsRead(events) == expected);
}

TEST(Datagram, TextConventionSendsBareBytesAndReadsUpToNul)
{
    recorder events;
    events.reading = false;
    std::vector<std::string> texts;
    events.beforeRead = [&](netPort& p) {
        vcore::str text;
        while (p.readString(text))
            texts.push_back(vcore::str(text).narrow());
    };
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    // 127.0.0.2 reaches the port itself without counting as a broadcast fallback.
    EXPECT_TRUE(port->sendText(vcore::str(u"media.volume 0.50"), loopback2));
    ASSERT_TRUE(events.waitFor("onData", 1));
    peer sender;
    sender.sendTo(std::string("media.play\0media.stop", 21), loopback, port->portNumber());
    ASSERT_TRUE(events.waitFor("onData", 2));
    EXPECT_EQ(texts, (std::vector<std::string>{"media.volume 0.50", "media.play", "media.stop"}));
}

TEST(Datagram, RemoteTextOfAllOnesResolvesToLoopbackNotBroadcast)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    EXPECT_TRUE(port->setBroadcast());
    EXPECT_EQ(port->remoteAddress(), broadcastAddress);
    EXPECT_EQ(port->remoteText(), vcore::str(u"255.255.255.255"));
    uint32_t count = 0;
    ASSERT_TRUE(port->write("to self", 7, count));
    ASSERT_TRUE(waitForPart(events, "to self"));
    EXPECT_EQ(port->lastSender(), loopback);
}

// Broadcasts only where they cannot leave the machine; see broadcastContained().
TEST(Datagram, ReplyFallbackAndServerWritesBroadcast)
{
    if (!broadcastContained())
        GTEST_SKIP() << "255.255.255.255 would leave this host";
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    uint32_t count = 0;
    // Broadcasts in the test network loop back from 0.0.0.0; a loopback unicast would not.
    const std::pair<uint32_t, std::string> sends[] = {{0, "zero"}, {loopback, "loop"}, {broadcastAddress, "all"}};
    for (const auto& [address, text] : sends) {
        ASSERT_TRUE(port->writeTo(address, text.data(), uint32_t(text.size()), count)) << text;
        ASSERT_TRUE(waitForPart(events, text)) << text;
        EXPECT_NE(port->lastSender(), loopback) << text;
    }
    ASSERT_TRUE(port->writeTo(u"", "text", 4, count));
    ASSERT_TRUE(waitForPart(events, "text"));

    recorder serverEvents;
    auto server = datagramPort(netPort::flagDatagram | netPort::flagServer);
    serverEvents.watch(*server);
    ASSERT_TRUE(server->open(u"127.0.0.1"));
    EXPECT_EQ(serverEvents.count("onOpen"), 0u);  // servers announce nothing
    ASSERT_TRUE(server->write("announce", 8, count));
    ASSERT_TRUE(waitForPart(serverEvents, "announce"));
    EXPECT_NE(server->lastSender(), loopback);
}

} // namespace

namespace {

// Multicast only where it cannot leave the machine, like broadcasts.
TEST(Datagram, GroupMemberReceivesWhatASenderWritesToTheGroup)
{
    if (!broadcastContained())
        GTEST_SKIP() << "a multicast datagram would leave this host";
    recorder memberEvents;
    auto member = datagramPort(netPort::flagMulticast | netPort::flagServer);
    memberEvents.watch(*member);
    // 10.3.2.1 is moved into the group 234.3.2.1.
    ASSERT_TRUE(member->open(u"10.3.2.1"));
    ASSERT_TRUE(member->isConnected());
    EXPECT_TRUE(member->name() == u"234.3.2.1");
    const uint32_t groupPort = member->portNumber();
    ASSERT_NE(groupPort, 0u);

    // With the datagram flag the sender binds within open.
    auto sender = std::make_unique<netPort>(nullptr, groupPort,
                                            netPort::flagMulticast | netPort::flagClient | netPort::flagDatagram,
                                            sock::typeDatagram, sock::protoUdp);
    ASSERT_TRUE(sender->open(u"234.3.2.1"));
    EXPECT_EQ(sender->portNumber(), groupPort) << "the sender writes to the group's port";
    uint32_t count = 0;
    ASSERT_TRUE(sender->write("to the group", 12, count));
    EXPECT_EQ(count, 12u);
    ASSERT_TRUE(waitForPart(memberEvents, "to the group"));
}

} // namespace
