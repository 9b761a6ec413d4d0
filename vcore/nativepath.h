#pragma once
#include <string>

#include "vcore/str.h"

namespace vcore {

// UTF-16 path text to and from the UTF-8 byte strings that POSIX calls take.
// Surrogate pairs become one 4-byte sequence; a lone surrogate becomes U+FFFD.
std::string toNativePath(const char16_t* path);
std::string toNativePath(const str& path);
str fromNativePath(const char* path);

} // namespace vcore
