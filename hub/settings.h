#pragma once
#include <cstdint>

// The hub's settings in the current user's registry, under "SOFTWARE\Tessary\Tolvanu".
namespace hub::settings {

// Opens (creating when missing) the hub's key and reads "security"; false leaves level as it was.
bool readLevel(int32_t& level);
// Writes level as the REG_DWORD "security" (-1 as all bits set).
bool writeLevel(int32_t level);
// Deletes the key "devices" of accepted devices.
bool deleteDevices();

} // namespace hub::settings
