#include "plugins/system/scancodes.h"

namespace systemctl {
namespace {

struct extendedKey {
    uint8_t scan;
    uint16_t code;
};

// Linux numbered its first keys after the XT keyboard, so 0x01..0x53 and 0x56..0x58 are
// their own key codes; the E0 keys are not.
constexpr extendedKey extendedKeys[] = {
    {0x1C, 96},   // keypad Enter
    {0x1D, 97},   // right Ctrl
    {0x35, 98},   // keypad /
    {0x37, 99},   // Print Screen
    {0x38, 100},  // right Alt (AltGr)
    {0x46, 119},  // Break (Ctrl+Pause)
    {0x47, 102},  // Home
    {0x48, 103},  // Up
    {0x49, 104},  // Page Up
    {0x4B, 105},  // Left
    {0x4D, 106},  // Right
    {0x4F, 107},  // End
    {0x50, 108},  // Down
    {0x51, 109},  // Page Down
    {0x52, 110},  // Insert
    {0x53, 111},  // Delete
    {0x5B, 125},  // left Windows
    {0x5C, 126},  // right Windows
    {0x5D, 127},  // Menu
    {0x20, 113},  // Mute
    {0x2E, 114},  // Volume Down
    {0x30, 115},  // Volume Up
    {0x22, 164},  // Play/Pause
    {0x24, 166},  // Stop
    {0x10, 165},  // Previous track
    {0x19, 163},  // Next track
};

constexpr uint16_t pauseKey = 119;

} // namespace

uint16_t linuxKeyCode(uint16_t scanCode, bool extended)
{
    const uint8_t prefix = uint8_t(scanCode >> 8);
    const uint8_t scan = uint8_t(scanCode & 0xFF);
    if (!extended) {
        if (prefix != 0)
            return 0;
        if ((scan >= 0x01 && scan <= 0x53) || (scan >= 0x56 && scan <= 0x58))
            return scan;
        return 0;
    }
    // Pause sends E1 1D 45: its first two bytes name it.
    if (prefix == 0xE1)
        return scan == 0x1D ? pauseKey : 0;
    if (prefix != 0xE0)
        return 0;
    for (const extendedKey& k : extendedKeys) {
        if (k.scan == scan)
            return k.code;
    }
    return 0;
}

} // namespace systemctl
