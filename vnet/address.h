#pragma once
#include <cstdint>
#include <vector>

#include "vcore/str.h"
#include "vcore/strview.h"

// IPv4 address helpers: parsing, formatting and this host's own addresses.
// Every address is a host-order 32-bit value.
namespace vnet {

class netPort;

constexpr uint32_t loopbackAddress = 0x7F000001;   // 127.0.0.1
constexpr uint32_t broadcastAddress = 0xFFFFFFFF;  // 255.255.255.255

// "a.b.c.d" with four decimal fields 0..255 and nothing else; 0 for any other text.
// Never looks a name up, so it is safe for texts that came from the network.
uint32_t parseDottedAddress(vcore::strview text);
uint32_t parseDottedAddress(const char16_t* text);

// A text starting with a letter is looked up as a host name (first address; this may
// block), otherwise, or when that fails, parsed as a dotted address. Results of 0 and
// 255.255.255.255 count as unparsable and become 127.0.0.1.
uint32_t resolveAddress(vcore::strview text);
uint32_t resolveAddress(const char16_t* text);
uint32_t resolveAddress(const vcore::str& text);

// The address moved into the multicast range 224.0.0.0/4 (its first byte's low four bits
// kept); addresses already in it stay as they are.
constexpr uint32_t multicastAddress(uint32_t address)
{
    return (address & 0x0FFFFFFFu) | 0xE0000000u;
}

// "%d.%d.%d.%d", most significant byte first; an empty text for 0.
vcore::str formatAddress(uint32_t address);

// 127.0.0.1 or one of the addresses in the port's local address list.
bool isLocalAddress(const netPort& port, uint32_t address);
// A text with a '.' is resolved, anything else read as a number ("0x": hexadecimal).
bool isLocalAddress(const netPort& port, const char16_t* text);

// Entry index of the port's local address list (0 outside it); text gets its dotted form.
uint32_t localAddress(const netPort& port, int index, vcore::str& text);

// The local address closest to remote; 0 when remote is itself local or the list is unreadable.
uint32_t nearestLocalAddress(const netPort& port, uint32_t remote);
// The choice itself, over a given list.
uint32_t nearestAddress(const std::vector<uint32_t>& locals, uint32_t remote);

} // namespace vnet
