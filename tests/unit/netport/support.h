#pragma once
// Helpers of the port tests: plain peer sockets, an event recorder, containment and CPU time.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vnet/netport.h"
#include "vnet/socket.h"

namespace nettest {

using namespace std::chrono_literals;
using ms = std::chrono::milliseconds;

constexpr uint32_t loopback = 0x7F000001;  // 127.0.0.1
constexpr uint32_t loopback2 = 0x7F000002;
constexpr uint32_t loopback3 = 0x7F000003;
constexpr uint32_t loopback4 = 0x7F000004;

// Whether sending to 255.255.255.255 stays on this host: on Linux the test program runs in
// a network namespace of its own; elsewhere only when there is no interface but loopback.
bool broadcastContained();
// Whether a datagram from a socket bound to address shows that address as its source
// (Wine sends from 127.0.0.1 for any loopback address).
bool sourceKept(uint32_t address);
// CPU time this process has used so far.
double processCpuSeconds();
// Whether a stream socket sends without Nagle's delay (TCP_NODELAY).
bool nagleOff(vnet::sock::handle s);

// Polls until done() or limit passed; returns done().
bool waitUntil(const std::function<bool()>& done, ms limit);

// A plain socket on the other side of a port under test.
class peer {
public:
    explicit peer(int type = vnet::sock::typeDatagram);
    struct adopt {};
    peer(adopt, vnet::sock::handle accepted) : s_(accepted) {}
    peer(peer&& other) noexcept : s_(other.s_) { other.s_ = vnet::sock::none; }
    peer& operator=(peer&&) = delete;
    ~peer();

    bool ok() const { return s_ != vnet::sock::none; }
    vnet::sock::handle handle() const { return s_; }
    bool bind(uint32_t address, uint32_t port = 0);
    uint32_t port() const;
    void close();

    bool sendTo(const std::string& data, uint32_t address, uint32_t port);
    // The next datagram within limit.
    bool receiveFrom(std::string& data, uint32_t& from, ms limit = 2000ms);

    bool listen();
    peer accept(ms limit = 2000ms);
    bool connect(uint32_t address, uint32_t port, ms limit = 2000ms);
    bool send(const std::string& data);
    // What arrives within limit, until count bytes came or the other side closed.
    std::string receive(size_t count, ms limit, bool* closed = nullptr);

private:
    vnet::sock::handle s_;
};

// One event as a named handler saw it.
struct record {
    std::string kind;
    vnet::netPort* port = nullptr;
    std::thread::id thread;
    std::chrono::steady_clock::time_point at;
    std::vector<std::string> parts;  // "onData": each block read, in order
};

// Registers named handlers for the four events and keeps what they saw. On "onData" it
// reads every available block (each datagram on its own), unless reading is switched off.
class recorder {
public:
    void watch(vnet::netPort& port);
    bool waitFor(const std::string& kind, size_t count, ms limit = 3000ms);
    size_t count(const std::string& kind) const;
    std::vector<record> records() const;
    // Concatenation of everything read by "onData".
    std::string dataRead() const;

    bool reading = true;
    // Runs on the worker inside "onData", before reading.
    std::function<void(vnet::netPort&)> beforeRead;

private:
    void add(record r);
    void opened(void* port) { add("onOpen", port); }
    void closed(void* port) { add("onClose", port); }
    void timedOut(void* port) { add("onTimeOut", port); }
    void data(void* port);
    void add(const char* kind, void* port);

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<record> records_;
};

} // namespace nettest
