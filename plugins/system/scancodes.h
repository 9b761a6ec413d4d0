#pragma once
#include <cstdint>

// PC set-1 scan codes as Linux input key codes (X key codes are these plus 8).
namespace systemctl {

// scanCode carries the 0xE0/0xE1 prefix in its high byte when extended; 0 for a code that no
// key of a 105-key keyboard (or its media keys) sends.
uint16_t linuxKeyCode(uint16_t scanCode, bool extended);

} // namespace systemctl
