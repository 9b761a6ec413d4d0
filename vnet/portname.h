#pragma once
#include <cstdint>

#include "vcore/str.h"
#include "vcore/strview.h"

// The number and port-suffix rules of port address texts ("host:8080", "80", "0x50").
namespace vnet {

// Reads a "0x"-prefixed hexadecimal or a decimal number from the start of text, stopping
// at the first other character (saturating at 0xFFFFFFFF); true when all of text was read.
bool readNumber(vcore::strview text, uint32_t& value);

// The field after the last ':' (or the whole name without one), when at most four
// characters long and wholly a number above 0, is cut off name (with its ':') and becomes
// port. Returns whether it was taken.
bool takePortSuffix(vcore::str& name, uint32_t& port);

} // namespace vnet
