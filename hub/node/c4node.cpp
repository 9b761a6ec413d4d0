#include "hub/node/c4node.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

// Lines logged while this thread handles a datagram: they go out after its answers, in order.
thread_local std::vector<vcore::str>* heldLines = nullptr;

} // namespace

C4Node::C4Node(uint32_t portNumber)
    : portNumber_(portNumber),
      rules_(*this),
      port_(nullptr, 80, vnet::netPort::flagClient | vnet::netPort::flagReconnect, vnet::sock::typeStream,
            vnet::sock::protoTcp)
{
    port_.addHandler(u"onData", this, &C4Node::onPortData);
    port_.addHandler(u"onTimeOut", this, &C4Node::onPortTimeOut);
}

bool C4Node::open(C4Interface* owner)
{
    rules_.attach(owner);
    if (!port_.open(0u, true, true, portNumber_))
        return false;
    rules_.start();
    return true;
}

void C4Node::announce(const vcore::str& service)
{
    rules_.announce(service);
}

void C4Node::search(const vcore::str& service)
{
    rules_.search(service);
}

void C4Node::requestOpen(const vcore::str& service, const vcore::str& serverAddress, const vcore::str& clientName)
{
    rules_.requestOpen(service, serverAddress, clientName);
}

void C4Node::closeSessions()
{
    rules_.closeSessions();
}

void C4Node::onPortData(void*)
{
    vcore::str message;
    std::vector<vcore::str> held;
    while (nextDatagram(message)) {
        if (message.empty())
            continue;
        // A client waits for the answer, not for the terminal the log is written to.
        heldLines = &held;
        rules_.receive(message, port_.lastSender(), port_.lastSenderIsLocal());
        heldLines = nullptr;
        for (vcore::str& line : held)
            emitEvent(u"log", &line);
        held.clear();
    }
}

void C4Node::onPortTimeOut(void*)
{
    rules_.timeOut();
}

// One datagram is one message: the text ends at a NUL and the rest of that datagram is
// dropped, so bytes after a NUL never pass for a message of their own.
bool C4Node::nextDatagram(vcore::str& message)
{
    const uint64_t size = port_.available();
    if (size == 0)
        return false;
    port_.readString(message);
    const uint64_t used = uint64_t(message.length()) + 1;
    if (used < size)
        skip(size - used);
    return true;
}

void C4Node::skip(uint64_t bytes)
{
    std::string sink(size_t(bytes), '\0');
    uint32_t count = 0;
    port_.read(sink.data(), uint32_t(bytes), count);
}

void C4Node::send(const vcore::str& message, uint32_t destination)
{
    vcore::str bytes(message);
    uint32_t count = 0;
    port_.writeTo(destination, bytes.narrow(), uint32_t(bytes.length()), count);
}

void C4Node::log(const vcore::str& line)
{
    if (heldLines) {
        heldLines->push_back(line);
        return;
    }
    vcore::str text(line);
    emitEvent(u"log", &text);
}

void C4Node::reportAddress(const vcore::str& address)
{
    vcore::str text(address);
    emitEvent(u"ip", &text);
}

void C4Node::pause()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

std::vector<uint32_t> C4Node::localAddresses()
{
    std::vector<uint32_t> list;
    port_.localAddresses(list);
    return list;
}
