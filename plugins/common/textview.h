#pragma once
#include <cstdint>

#include "vcore/strview.h"

// Searches and comparisons on borrowed text; case folding is A-Z only, as in the C locale.
namespace media {

vcore::strview viewOf(const char16_t* text);
// The part of text from index from up to (not including) to, both clamped.
vcore::strview slice(vcore::strview text, int32_t from, int32_t to);
vcore::strview trimmed(vcore::strview text, const char16_t* chars);

bool equalsIgnoreCase(vcore::strview text, vcore::strview other);
bool startsWithIgnoreCase(vcore::strview text, vcore::strview prefix);
// Exact search; -1 when needle does not occur at or after from. An empty needle is found at from.
int32_t findText(vcore::strview text, vcore::strview needle, int32_t from = 0);
int32_t findUnit(vcore::strview text, char16_t unit, int32_t from = 0);
int32_t findLastUnit(vcore::strview text, char16_t unit);

} // namespace media
