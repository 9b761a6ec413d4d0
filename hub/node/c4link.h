#pragma once
#include <cstdint>
#include <vector>

#include "vcore/str.h"

// Everything the node's rules do to the world outside, and the one thing they ask of it.
class C4Link {
public:
    // One message as one datagram; destination in host order, 255.255.255.255 for broadcast.
    virtual void send(const vcore::str& message, uint32_t destination) = 0;
    virtual void log(const vcore::str& line) = 0;
    // One of this host's addresses, for the console's list.
    virtual void reportAddress(const vcore::str& address) = 0;
    // The short breath between two datagrams of one burst.
    virtual void pause() = 0;
    // This host's IPv4 addresses, host order, as the port's socket lists them.
    virtual std::vector<uint32_t> localAddresses() = 0;

protected:
    ~C4Link() = default;
};
