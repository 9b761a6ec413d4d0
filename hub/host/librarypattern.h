#pragma once

// The file pattern of this system's shared libraries ("*.dll", "*.so").
namespace hub {

extern const char16_t* const libraryPattern;

} // namespace hub
