#include "support.h"

namespace nettest {

using namespace vnet;

namespace {
// Peers open plain sockets, which Winsock wants started first.
const bool socketsStarted = sock::startup();
} // namespace

bool waitUntil(const std::function<bool()>& done, ms limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return done();
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

bool sourceKept(uint32_t address)
{
    peer receiver, sender;
    std::string data;
    uint32_t from = 0;
    return receiver.bind(loopback) && sender.bind(address) &&
           sender.sendTo("?", loopback, receiver.port()) && receiver.receiveFrom(data, from, 1000ms) &&
           from == address;
}

peer::peer(int type) : s_(sock::create(type, type == sock::typeDatagram ? sock::protoUdp : sock::protoTcp)) {}

peer::~peer()
{
    close();
}

void peer::close()
{
    sock::close(s_);
    s_ = sock::none;
}

bool peer::bind(uint32_t address, uint32_t port)
{
    return sock::bind(s_, address, port);
}

uint32_t peer::port() const
{
    return sock::localPort(s_);
}

bool peer::sendTo(const std::string& data, uint32_t address, uint32_t port)
{
    return sock::sendTo(s_, data.data(), int(data.size()), address, port) == int(data.size());
}

bool peer::receiveFrom(std::string& data, uint32_t& from, ms limit)
{
    std::vector<char> buffer(65536);
    uint32_t port = 0;
    int got = -1;
    waitUntil([&] { return (got = sock::receiveFrom(s_, buffer.data(), int(buffer.size()), from, port)) >= 0; },
              limit);
    if (got < 0)
        return false;
    data.assign(buffer.data(), size_t(got));
    return true;
}

bool peer::listen()
{
    return sock::listen(s_);
}

peer peer::accept(ms limit)
{
    sock::handle a = sock::none;
    uint32_t address = 0, port = 0;
    waitUntil([&] { return (a = sock::accept(s_, address, port)) != sock::none; }, limit);
    return peer(adopt{}, a);
}

bool peer::connect(uint32_t address, uint32_t port, ms limit)
{
    sock::connectResult r = sock::connect(s_, address, port);
    return r == sock::connectResult::done ||
           (r == sock::connectResult::pending && sock::waitConnected(s_, uint32_t(limit.count())));
}

bool peer::send(const std::string& data)
{
    size_t sent = 0;
    waitUntil([&] {
        int n = sock::send(s_, data.data() + sent, int(data.size() - sent));
        sent += n > 0 ? size_t(n) : 0;
        return sent == data.size();
    }, 5000ms);
    return sent == data.size();
}

std::string peer::receive(size_t count, ms limit, bool* closed)
{
    std::string got;
    char buffer[65536];
    bool ended = false;
    waitUntil([&] {
        int n = sock::receive(s_, buffer, sizeof buffer);
        if (n > 0)
            got.append(buffer, size_t(n));
        ended = ended || n == 0;
        return ended || got.size() >= count;
    }, limit);
    if (closed)
        *closed = ended;
    return got;
}

void recorder::watch(netPort& port)
{
    port.addHandler(u"onOpen", this, &recorder::opened);
    port.addHandler(u"onClose", this, &recorder::closed);
    port.addHandler(u"onData", this, &recorder::data);
    port.addHandler(u"onTimeOut", this, &recorder::timedOut);
}

void recorder::data(void* arg)
{
    auto* port = static_cast<netPort*>(arg);
    record r;
    r.kind = "onData";
    r.port = port;
    if (beforeRead)
        beforeRead(*port);
    while (reading) {
        uint64_t n = port->available();
        if (n == 0)
            break;
        std::string block(size_t(n), '\0');
        uint32_t count = 0;
        if (!port->read(block.data(), uint32_t(n), count))
            break;
        block.resize(count);
        r.parts.push_back(block);
    }
    add(std::move(r));
}

void recorder::add(const char* kind, void* port)
{
    record r;
    r.kind = kind;
    r.port = static_cast<netPort*>(port);
    add(std::move(r));
}

void recorder::add(record r)
{
    r.thread = std::this_thread::get_id();
    r.at = std::chrono::steady_clock::now();
    std::lock_guard<std::mutex> hold(lock_);
    records_.push_back(std::move(r));
    changed_.notify_all();
}

bool recorder::waitFor(const std::string& kind, size_t count, ms limit)
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, limit, [&] {
        size_t n = 0;
        for (const record& r : records_)
            n += r.kind == kind;
        return n >= count;
    });
}

size_t recorder::count(const std::string& kind) const
{
    std::lock_guard<std::mutex> hold(lock_);
    size_t n = 0;
    for (const record& r : records_)
        n += r.kind == kind;
    return n;
}

std::vector<record> recorder::records() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return records_;
}

std::string recorder::dataRead() const
{
    std::lock_guard<std::mutex> hold(lock_);
    std::string all;
    for (const record& r : records_)
        for (const std::string& part : r.parts)
            all += part;
    return all;
}

} // namespace nettest
