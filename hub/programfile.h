#pragma once
#include <cstdint>

#include "vcore/calendartime.h"
#include "vcore/str.h"

// What the running program knows about its own file: path, version, build time.
namespace hub {

// Full path of the program file.
vcore::str programPath();
// File version (major, minor, third, fourth); false when the program carries none.
bool programVersion(uint16_t (&parts)[4]);

// "major.minor", then ".third" when the third or fourth part is set, then ".fourth" when that is.
vcore::str formatVersion(const uint16_t (&parts)[4]);
// "dd.mm.yyyy hh:mm:ss".
vcore::str formatBuildTime(const vcore::calendartime& time);

// The program's version text; empty without a version.
vcore::str versionText();
// The creation time (UTC) of a file as build time text; empty when it cannot be opened.
vcore::str buildTimeTextOf(const vcore::str& path);
vcore::str buildTimeText();

} // namespace hub
