#pragma once
// The other host in the loopback tests: a plain datagram socket, and a free port number.
#include <chrono>
#include <cstdint>
#include <string>

#include "vnet/socket.h"

namespace nodetest {

using namespace std::chrono_literals;

class peer {
public:
    peer();
    ~peer();
    peer(const peer&) = delete;
    peer& operator=(const peer&) = delete;

    // shared: another socket that shares too may hold the same port.
    bool bind(uint32_t address, uint32_t port, bool shared = false);
    uint32_t port() const { return vnet::sock::localPort(s_); }
    bool sendTo(const std::string& data, uint32_t address, uint32_t port);
    // Waits up to limit for a datagram equal to expected; others are passed over.
    bool await(const std::string& expected, std::chrono::milliseconds limit = 3000ms);
    // Whatever arrives within limit, or empty; from: its sender.
    std::string next(std::chrono::milliseconds limit, uint32_t* from = nullptr);

private:
    bool started_;
    vnet::sock::handle s_;
};

// A port number nothing on this host holds right now.
uint32_t freePort();
// Marks a socket as sharing its port; both sockets must be marked.
bool sharePort(vnet::sock::handle s);
// Waits until done() or limit passed; returns done().
template <class Done>
bool waitUntil(Done done, std::chrono::milliseconds limit = 3000ms);

} // namespace nodetest

#include <thread>

template <class Done>
bool nodetest::waitUntil(Done done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    return done();
}
