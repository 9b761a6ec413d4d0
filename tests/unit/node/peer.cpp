#include "peer.h"

#include <thread>

namespace nodetest {

peer::peer()
    : started_(vnet::sock::startup()),
      s_(vnet::sock::create(vnet::sock::typeDatagram, vnet::sock::protoUdp))
{
}

peer::~peer()
{
    if (s_ != vnet::sock::none)
        vnet::sock::close(s_);
    if (started_)
        vnet::sock::cleanup();
}

bool peer::bind(uint32_t address, uint32_t port, bool shared)
{
    return s_ != vnet::sock::none && (!shared || sharePort(s_)) && vnet::sock::bind(s_, address, port);
}

bool peer::sendTo(const std::string& data, uint32_t address, uint32_t port)
{
    return vnet::sock::sendTo(s_, data.data(), int(data.size()), address, port) == int(data.size());
}

std::string peer::next(std::chrono::milliseconds limit, uint32_t* from)
{
    char buffer[65536];
    const auto end = std::chrono::steady_clock::now() + limit;
    do {
        uint32_t sender = 0, port = 0;
        const int got = vnet::sock::receiveFrom(s_, buffer, sizeof buffer, sender, port);
        if (from)
            *from = sender;
        if (got >= 0)
            return std::string(buffer, size_t(got));
        std::this_thread::sleep_for(5ms);
    } while (std::chrono::steady_clock::now() < end);
    return {};
}

bool peer::await(const std::string& expected, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end)
        if (next(std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())) ==
            expected)
            return true;
    return false;
}

uint32_t freePort()
{
    peer probe;
    return probe.bind(0, 0) ? probe.port() : 0;
}

} // namespace nodetest
