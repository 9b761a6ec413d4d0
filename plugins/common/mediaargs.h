#pragma once
#include <cstdint>

#include "vcore/str.h"

// How command arguments read as numbers.
namespace media {

// Decimal or "0x" hexadecimal; anything else reads as 0.
int32_t argumentInt(const vcore::str& argument);
// A decimal real (comma accepted for the point) or "0x" hexadecimal; non-numbers, infinities
// and NaN read as 0, so no later arithmetic meets them.
double argumentReal(const vcore::str& argument);
// Shuffle and repeat: a negative argument toggles current, 0 is off, anything else on.
int32_t switchArgument(int32_t argument, int32_t current);

} // namespace media
