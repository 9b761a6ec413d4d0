#pragma once
#include <cstdint>

#include "vcore/str.h"

// Where the component's reports go: the port, or a recorder in tests.
namespace winamp {

class outbox {
public:
    virtual ~outbox() = default;
    virtual void send(const vcore::str& report) = 0;
    // The list report's pacing: 0 yields the processor.
    virtual void pause(uint32_t ms) = 0;
    // Later reports go to 255.255.255.255.
    virtual void toBroadcast() = 0;
};

} // namespace winamp
