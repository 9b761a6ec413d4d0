#pragma once
#include <cstdint>

#include "vcore/strview.h"

// Where a datagram for an address really goes: 0 and 127.0.0.1 mean broadcast.
uint32_t c4Destination(uint32_t address);
// The same for an address text that came from the network. Only dotted numbers count:
// a name is never looked up (that would stall the worker), so it is unparsable and,
// like every unparsable text, goes to broadcast.
uint32_t c4Destination(vcore::strview address);
