// The worker: time-out cadence, paced retries, unread data, floods and closing mid-handler.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "support.h"

namespace {

using namespace vnet;
using namespace nettest;

std::unique_ptr<netPort> datagramPort(uint32_t port = 0)
{
    return std::make_unique<netPort>(nullptr, port, netPort::flagDatagram, sock::typeDatagram, sock::protoUdp);
}

TEST(Worker, IdlePortTimesOutAboutOncePerTimeOut)
{
    recorder events;
    auto port = datagramPort();
    port->setTimeOut(200);
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    std::this_thread::sleep_for(1100ms);
    port->close();
    std::vector<record> ticks;
    for (const record& r : events.records())
        if (r.kind == "onTimeOut")
            ticks.push_back(r);
    EXPECT_GE(ticks.size(), 3u);
    EXPECT_LE(ticks.size(), 6u);
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i].at - ticks[i - 1].at, 180ms);
    for (const record& r : ticks)
        EXPECT_NE(r.thread, std::this_thread::get_id());
}

TEST(Worker, FailedBindIsRetriedOncePerTimeOutWithoutSpinning)
{
    peer squatter;
    ASSERT_TRUE(squatter.bind(0));
    const uint32_t taken = squatter.port();
    recorder events;
    auto port = datagramPort(taken);
    port->setTimeOut(100);
    events.watch(*port);
    double cpuBefore = processCpuSeconds();
    ASSERT_TRUE(port->open(u"127.0.0.1"));  // threaded: true, the worker keeps trying
    EXPECT_FALSE(port->connected());
    std::this_thread::sleep_for(600ms);
    EXPECT_LT(processCpuSeconds() - cpuBefore, 0.3);
    EXPECT_EQ(events.count("onOpen"), 0u);
    EXPECT_GE(events.count("onTimeOut"), 3u);

    squatter.close();
    ASSERT_TRUE(events.waitFor("onOpen", 1, 2000ms));
    EXPECT_TRUE(port->connected());
    EXPECT_EQ(port->portNumber(), taken);
}

TEST(Worker, UnreadDataIsAnnouncedOnceUntilSomethingIsReceived)
{
    auto port = datagramPort();
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    peer sender;
    double cpuBefore = processCpuSeconds();
    sender.sendTo("one", loopback, port->portNumber());
    EXPECT_TRUE(port->waitData(2000));
    sender.sendTo("two", loopback, port->portNumber());
    EXPECT_FALSE(port->waitData(300));
    EXPECT_LT(processCpuSeconds() - cpuBefore, 0.25);
    EXPECT_EQ(port->available(), 3u);  // receiving "one" lets the next notice through
    EXPECT_TRUE(port->waitData(2000));
}

// In a run of datagrams the worker may take the next one in itself: it is announced once,
// kept until taken, and only taking it lets the one behind it be announced.
TEST(Worker, DatagramOfARunIsAnnouncedOnceAndKeptUntilTaken)
{
    recorder events;
    std::atomic<bool> allSent{false};
    int handled = 0;  // worker only
    events.beforeRead = [&](netPort&) {
        if (++handled == 1)
            waitUntil([&] { return allSent.load(); }, 2000ms);
        events.reading = handled < 3;
    };
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    peer sender;
    for (const char* text : {"one", "two", "three", "four"})
        sender.sendTo(text, loopback, port->portNumber());
    allSent = true;
    ASSERT_TRUE(events.waitFor("onData", 3));
    EXPECT_FALSE(events.waitFor("onData", 4, 300ms));
    // In one call: a notice that came between a separate available() and read() would drop
    // what available() took.
    std::string three(8, '\0');
    uint32_t count = 0;
    ASSERT_TRUE(port->read(three.data(), 8, count));
    EXPECT_EQ(three.substr(0, count), "three");
    EXPECT_TRUE(events.waitFor("onData", 4));
    EXPECT_EQ(port->available(), 4u);
    std::vector<std::vector<std::string>> read;
    for (const record& r : events.records())
        if (r.kind == "onData")
            read.push_back(r.parts);
    EXPECT_EQ(read, (std::vector<std::vector<std::string>>{{"one"}, {"two"}, {}, {}}));
}

TEST(Worker, FloodOfDatagramsKeepsThePortResponsive)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    peer sender;
    std::string block(1400, 'f');
    for (int i = 0; i < 20000; ++i)
        sender.sendTo(block, loopback, port->portNumber());
    sender.sendTo("end", loopback, port->portNumber());
    EXPECT_TRUE(waitUntil([&] {
        std::string all = events.dataRead();
        return all.size() >= 3 && all.compare(all.size() - 3, 3, "end") == 0;
    }, 10000ms));
    auto start = std::chrono::steady_clock::now();
    port->close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

TEST(Worker, StreamFloodArrivesCompleteAndInOrder)
{
    peer server(sock::typeStream);
    ASSERT_TRUE(server.bind(loopback));
    ASSERT_TRUE(server.listen());
    recorder events;
    netPort client;
    events.watch(client);
    ASSERT_TRUE(client.open(loopback, false, false, server.port()));
    peer accepted = server.accept();
    std::string payload(4 << 20, '\0');
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = char(i % 251);
    ASSERT_TRUE(accepted.send(payload));
    ASSERT_TRUE(waitUntil([&] { return events.dataRead().size() >= payload.size(); }, 10000ms));
    EXPECT_TRUE(events.dataRead() == payload);
}

TEST(Worker, ClosingWhileAHandlerRunsWaitsForItBeforeDestruction)
{
    std::atomic<bool> inside{false}, finished{false};
    std::atomic<bool> readAfterClose{true};
    recorder events;
    events.reading = false;
    events.beforeRead = [&](netPort& p) {
        inside = true;
        std::this_thread::sleep_for(700ms);  // longer than both waits of close
        uint32_t count = 0;
        char buffer[8];
        readAfterClose = p.read(buffer, sizeof buffer, count) || p.write("x", 1, count);
        finished = true;
    };
    auto port = datagramPort();
    events.watch(*port);
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    peer sender;
    sender.sendTo("go", loopback, port->portNumber());
    ASSERT_TRUE(waitUntil([&] { return inside.load(); }, 2000ms));

    auto start = std::chrono::steady_clock::now();
    port->close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 650ms);
    EXPECT_FALSE(port->isOpen());
    EXPECT_FALSE(finished);
    port.reset();  // waits for the handler: it still uses the port
    EXPECT_TRUE(finished);
    EXPECT_FALSE(readAfterClose);
}

// A port whose own handlers log and claim events on request.
class loggingPort : public netPort {
public:
    loggingPort() : netPort(nullptr, 0, flagDatagram, sock::typeDatagram, sock::protoUdp) {}
    ~loggingPort() override { close(); }
    std::atomic<bool> claimOpen{false}, claimTimeOut{false};
    std::atomic<int> opens{0}, timeOuts{0};
    bool onOpen(vcore::ioport*) override { ++opens; return claimOpen; }
    bool onTimeOut(vcore::ioport*) override { ++timeOuts; return claimTimeOut; }
};

TEST(Worker, VirtualHandlersComeFirstAndCanClaimEvents)
{
    recorder events;
    loggingPort port;
    port.setTimeOut(100);
    port.claimOpen = true;
    events.watch(port);
    ASSERT_TRUE(port.open(u"127.0.0.1"));
    EXPECT_EQ(port.opens, 1);
    EXPECT_EQ(events.count("onOpen"), 0u);
    ASSERT_TRUE(events.waitFor("onTimeOut", 1));
    port.claimTimeOut = true;
    int named = int(events.count("onTimeOut"));
    int before = port.timeOuts;
    ASSERT_TRUE(waitUntil([&] { return port.timeOuts >= before + 3; }, 2000ms));
    EXPECT_LE(int(events.count("onTimeOut")), named + 1);
}

TEST(Worker, NamedCloseIsAnnouncedWhenTheOwnerClosesThePort)
{
    recorder events;
    auto port = datagramPort();
    events.watch(*port);
    port->close();
    EXPECT_EQ(events.count("onClose"), 0u);  // nothing was open
    ASSERT_TRUE(port->open(u"127.0.0.1"));
    port->close();
    EXPECT_EQ(events.count("onClose"), 1u);
    EXPECT_FALSE(port->waitClose(0));  // the closed event means the peer closed
    EXPECT_EQ(port->remotePort(), 0u);
    EXPECT_EQ(port->nameAddress(), 0u);
}

TEST(Worker, UnthreadedPortsAnswerOpenWithTheOutcome)
{
    peer server(sock::typeStream);
    ASSERT_TRUE(server.bind(loopback));
    ASSERT_TRUE(server.listen());
    netPort client;
    client.setThreaded(false);
    EXPECT_TRUE(client.open(loopback, false, false, server.port()));
    EXPECT_TRUE(client.isConnected());
    peer accepted = server.accept();
    accepted.send("sync");
    char buffer[8];
    uint32_t count = 0;
    ASSERT_TRUE(waitUntil([&] { return client.read(buffer, sizeof buffer, count) && count == 4; }, 2000ms));
    EXPECT_EQ(std::string(buffer, 4), "sync");

    server.close();
    accepted.close();
    netPort refused;
    refused.setThreaded(false);
    refused.setTimeOut(200);
    EXPECT_FALSE(refused.open(loopback, false, false, server.port()));
}

} // namespace
