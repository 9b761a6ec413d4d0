#pragma once
#include "vcore/str.h"

namespace remote {

// Where the client keeps its device id: a REG_SZ "device" of the current user.
inline constexpr const char16_t* settingsKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu Remote";

// The id by which hubs remember this computer: read from the settings, or made at random and
// stored there on first use. stored is false when it could not be kept (the id then holds
// for this run only).
vcore::str deviceId(bool& stored, const char16_t* keyPath = settingsKey);

// Usable after the last ':' of the client name and inside a ';'-separated field.
bool usableDeviceId(const vcore::str& id);

// 16 random hexadecimal digits.
vcore::str newDeviceId();

} // namespace remote
