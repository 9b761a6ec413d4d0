#pragma once
#include <cstdint>
#include <functional>

#include "vcore/str.h"

// Whether a "media.init" greeting gets the "media.app" answer.
namespace media {

// Whether a host-order IPv4 address is one of this host's own (the loopback address aside).
using ownAddressTest = std::function<bool(uint32_t address)>;

// An empty argument is answered; otherwise it names an address (dotted with a '.', else a
// decimal or "0x" number) that must be the loopback address or one of this host's own.
// Names are never looked up: the text comes from the network.
bool greetingAnswered(const vcore::str& argument, const ownAddressTest& isOwnAddress);

} // namespace media
