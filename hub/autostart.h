#pragma once
#include "vcore/str.h"

// Whether the hub starts when the user logs in: the Run key value "Tolvanu" on Windows,
// the XDG autostart entry tolvanu.desktop on Linux.
namespace hub {

// The program file's name the entry must end with: "Tolvanu.exe" on Windows, "tolvanu" on Linux.
extern const char16_t* const programFileName;

// The text after the last '\' or '/' of path equals fileName, A to Z in either case.
bool namesProgram(const vcore::str& path, const char16_t* fileName);

// The program the autostart entry starts; empty when there is none (or it is not text).
vcore::str autostartProgram();
bool autostartEnabled();
// On: an entry starting this program file; off: no entry. Failures are ignored.
void setAutostart(bool on);

} // namespace hub
