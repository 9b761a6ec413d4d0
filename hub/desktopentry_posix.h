#pragma once
#include <string>

// The Exec value of an XDG desktop entry, quoted and escaped by the Desktop Entry rules.
namespace hub::desktopentry {

// What to write after "Exec=" to start program, whatever characters its path holds.
std::string execValue(const std::string& program);
// The program an Exec value starts: its first argument, unquoted.
std::string execProgram(const std::string& value);

} // namespace hub::desktopentry
