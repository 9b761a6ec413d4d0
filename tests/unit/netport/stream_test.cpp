// TCP ports on loopback: client events, reconnect, and servers with their children.
#include <gtest/gtest.h>

#include <memory>

#include "support.h"
#include "vnet/address.h"

namespace {

using namespace vnet;
using namespace nettest;

// A listening plain socket on a port of the system's choosing.
peer listener(uint32_t port = 0)
{
    peer p(sock::typeStream);
    EXPECT_TRUE(p.bind(loopback, port));
    EXPECT_TRUE(p.listen());
    return p;
}

TEST(Stream, ClientOpensOnItsWorkerAndWritesZeroBytesOnlyWhenConnected)
{
    peer server = listener();
    recorder events;
    netPort client;
    events.watch(client);
    uint32_t count = 9;
    EXPECT_FALSE(client.write("", 0, count));
    ASSERT_TRUE(client.open(loopback, false, false, server.port()));
    ASSERT_TRUE(events.waitFor("onOpen", 1));
    EXPECT_NE(events.records()[0].thread, std::this_thread::get_id());
    EXPECT_TRUE(client.waitOpen(1000));
    EXPECT_TRUE(client.isConnected());
    EXPECT_TRUE(client.write("", 0, count));
    EXPECT_EQ(count, 0u);
    peer accepted = server.accept();
    ASSERT_TRUE(client.write("hello", 5, count));
    EXPECT_EQ(accepted.receive(5, 2000ms), "hello");
}

TEST(Stream, PeerThatSendsAndClosesAtOnceGivesDataBeforeClose)
{
    peer server = listener();
    recorder events;
    netPort client;
    events.watch(client);
    ASSERT_TRUE(client.open(u"127.0.0.1", false, false, server.port(), false, false));
    peer accepted = server.accept();
    ASSERT_TRUE(accepted.ok());
    ASSERT_TRUE(events.waitFor("onOpen", 1));
    accepted.send(std::string("last words\0!", 12));
    accepted.close();
    ASSERT_TRUE(events.waitFor("onClose", 1));
    EXPECT_EQ(events.dataRead(), std::string("last words\0!", 12));
    std::vector<record> seen = events.records();
    EXPECT_EQ(seen.back().kind, "onClose");
    EXPECT_EQ(seen[seen.size() - 2].kind, "onData");
    EXPECT_TRUE(client.waitClose(0));
    EXPECT_TRUE(waitUntil([&] { return !client.isOpen(); }, 1000ms));
}

TEST(Stream, KeepSocketLeavesTheSocketOpenAfterThePeerCloses)
{
    peer server = listener();
    recorder events;
    netPort client;
    events.watch(client);
    ASSERT_TRUE(client.open(u"127.0.0.1", false, false, server.port(), false, false));
    client.setFlags(client.flags() | netPort::flagKeepSocket);
    server.accept().close();
    ASSERT_TRUE(events.waitFor("onClose", 1));
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(client.isOpen());
    EXPECT_EQ(events.count("onClose"), 1u);
}

TEST(Stream, ReconnectingClientRetriesOncePerTimeOutUntilTheServerIsBack)
{
    auto server = std::make_unique<peer>(listener());
    const uint32_t number = server->port();
    recorder events;
    netPort client;
    client.setTimeOut(150);
    events.watch(client);
    ASSERT_TRUE(client.open(loopback, false, false, number));
    ASSERT_TRUE(events.waitFor("onOpen", 1));
    server->accept().close();
    server.reset();
    ASSERT_TRUE(events.waitFor("onClose", 1));

    std::this_thread::sleep_for(600ms);  // server down: several failed attempts, no events
    EXPECT_EQ(events.count("onOpen"), 1u);
    EXPECT_EQ(events.count("onClose"), 1u);
    EXPECT_EQ(events.count("onData"), 0u);

    peer back(sock::typeStream);
    ASSERT_TRUE(waitUntil([&] { return back.bind(loopback, number); }, 3000ms));
    ASSERT_TRUE(back.listen());
    ASSERT_TRUE(events.waitFor("onOpen", 2, 3000ms));
    peer accepted = back.accept();
    uint32_t count = 0;
    ASSERT_TRUE(client.write("again", 5, count));
    EXPECT_EQ(accepted.receive(5, 2000ms), "again");
}

// VLC's replies come in parts; a short command must not wait for an ACK either way.
TEST(Stream, ClientAndAcceptedChildSendWithoutNaglesDelay)
{
    netPort server;
    recorder serverEvents, clientEvents;
    serverEvents.watch(server);
    ASSERT_TRUE(server.open(u"", false, true, 0, false, false));
    netPort client;
    clientEvents.watch(client);
    ASSERT_TRUE(client.open(loopback, false, false, server.portNumber()));
    ASSERT_TRUE(clientEvents.waitFor("onOpen", 1));
    ASSERT_TRUE(serverEvents.waitFor("onOpen", 1));
    netPort* child = serverEvents.records()[0].port;
    EXPECT_TRUE(nagleOff(client.socketHandle()));
    EXPECT_TRUE(nagleOff(child->socketHandle()));
    client.close();
    server.close();
    delete child;
}

// A server that counts what its children hand up to it.
class countingServer : public netPort {
public:
    ~countingServer() override { close(); }
    std::atomic<int> childData{0};
    std::atomic<bool> handleData{true};
    bool onData(vcore::ioport* port) override
    {
        if (port == this || !handleData)
            return false;
        char buffer[64];
        uint32_t count = 0;
        port->read(buffer, sizeof buffer, count);
        childData += int(count);
        return true;
    }
};

TEST(Stream, ServerWritesToChildrenAndClosesThem)
{
    countingServer server;
    recorder serverEvents;
    serverEvents.watch(server);
    ASSERT_TRUE(server.open(u"", false, true, 0, false, false));
    ASSERT_NE(server.portNumber(), 0u);
    EXPECT_TRUE(server.isConnected());

    std::vector<std::unique_ptr<peer>> clients;
    for (uint32_t address : {loopback2, loopback3, loopback4}) {
        clients.push_back(std::make_unique<peer>(sock::typeStream));
        ASSERT_TRUE(clients.back()->bind(address));
        ASSERT_TRUE(clients.back()->connect(loopback, server.portNumber()));
    }
    ASSERT_TRUE(serverEvents.waitFor("onOpen", 3));
    ASSERT_EQ(server.childCount(), 3);
    std::vector<netPort*> children;
    for (const record& r : serverEvents.records()) {
        children.push_back(r.port);
        EXPECT_EQ(r.port->parent(), &server);
        EXPECT_TRUE(r.port->isConnected());
    }

    uint32_t count = 0;
    ASSERT_TRUE(server.write("all", 3, count));
    EXPECT_EQ(count, 3u);
    for (auto& c : clients)
        EXPECT_EQ(c->receive(3, 2000ms), "all");
    ASSERT_TRUE(server.writeTo(loopback3, "one", 3, count));
    ASSERT_TRUE(server.writeTo(u"127.0.0.4", "four", 4, count));
    EXPECT_EQ(clients[0]->receive(10, 200ms), "");
    EXPECT_EQ(clients[1]->receive(3, 2000ms), "one");
    EXPECT_EQ(clients[2]->receive(4, 2000ms), "four");

    clients[1]->send("up!");
    EXPECT_TRUE(waitUntil([&] { return server.childData == 3; }, 2000ms));

    server.close();
    EXPECT_EQ(server.childCount(), 0);
    for (auto& c : clients) {
        bool closed = false;
        c->receive(1, 2000ms, &closed);
        EXPECT_TRUE(closed);
    }
    for (netPort* child : children) {
        EXPECT_FALSE(child->isOpen());
        EXPECT_EQ(child->parent(), nullptr);
        delete child;  // without the delete-children switch the owner keeps them
    }
}

TEST(Stream, ServerWithDeleteChildrenDestroysClosedChildren)
{
    netPort server;
    server.setDeleteChildren(true);
    server.setTimeOut(100);
    recorder serverEvents;
    serverEvents.watch(server);
    ASSERT_TRUE(server.open(u"", false, true, 0, false, false));
    std::vector<std::unique_ptr<peer>> clients;
    for (int i = 0; i < 3; ++i) {
        clients.push_back(std::make_unique<peer>(sock::typeStream));
        ASSERT_TRUE(clients.back()->connect(loopback, server.portNumber()));
    }
    ASSERT_TRUE(serverEvents.waitFor("onOpen", 3));
    clients[0]->close();
    EXPECT_TRUE(waitUntil([&] { return server.childCount() == 2; }, 2000ms));
    server.close();  // closes and, with the switch on, deletes the other two
    EXPECT_EQ(server.childCount(), 0);
}

TEST(Stream, ChildEventsGoToTheChildThenItsServerThenNamedHandlers)
{
    countingServer server;
    recorder serverEvents, childEvents;
    serverEvents.watch(server);
    ASSERT_TRUE(server.open(u"", false, true, 0, false, false));
    peer client(sock::typeStream);
    ASSERT_TRUE(client.connect(loopback, server.portNumber()));
    ASSERT_TRUE(serverEvents.waitFor("onOpen", 1));
    netPort* child = serverEvents.records()[0].port;
    childEvents.watch(*child);

    client.send("abc");
    ASSERT_TRUE(waitUntil([&] { return server.childData == 3; }, 2000ms));
    EXPECT_EQ(childEvents.count("onData"), 0u);  // the server handled it

    server.handleData = false;
    client.send("def");
    ASSERT_TRUE(childEvents.waitFor("onData", 1));
    EXPECT_EQ(childEvents.dataRead(), "def");
    server.close();
    delete child;
}

} // namespace
