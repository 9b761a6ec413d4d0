// The Linux backend's arithmetic: scan codes to key codes, wheel data to clicks.
#include <gtest/gtest.h>

#include <set>

#include "plugins/system/scancodes.h"
#include "plugins/system/wheelsteps.h"

using systemctl::linuxKeyCode;

TEST(ScanCodes, EveryKeyOfA105KeyKeyboardHasItsOwnCode)
{
    std::set<uint16_t> codes;
    int keys = 0;
    for (int scan = 0; scan <= 0xFF; ++scan) {
        if (uint16_t code = linuxKeyCode(uint16_t(scan), false)) {
            codes.insert(code);
            ++keys;
        }
    }
    for (int scan : {0x1C, 0x1D, 0x35, 0x37, 0x38, 0x47, 0x48, 0x49, 0x4B, 0x4D, 0x4F, 0x50, 0x51, 0x52, 0x53,
                     0x5B, 0x5C, 0x5D}) {
        const uint16_t code = linuxKeyCode(uint16_t(0xE000 | scan), true);
        EXPECT_NE(code, 0) << std::hex << scan;
        codes.insert(code);
        ++keys;
    }
    const uint16_t pause = linuxKeyCode(0xE11D, true);
    codes.insert(pause);
    ++keys;
    EXPECT_EQ(keys, 105);
    EXPECT_EQ(codes.size(), 105u);
}

TEST(ScanCodes, KnownKeys)
{
    EXPECT_EQ(linuxKeyCode(0x1E, false), 30);   // A
    EXPECT_EQ(linuxKeyCode(0x2A, false), 42);   // left Shift
    EXPECT_EQ(linuxKeyCode(0x56, false), 86);   // the 102nd key
    EXPECT_EQ(linuxKeyCode(0x58, false), 88);   // F12
    EXPECT_EQ(linuxKeyCode(0xE04D, true), 106); // Right
    EXPECT_EQ(linuxKeyCode(0xE04B, true), 105); // Left
    EXPECT_EQ(linuxKeyCode(0xE01D, true), 97);  // right Ctrl
    EXPECT_EQ(linuxKeyCode(0xE11D, true), 119); // Pause
}

TEST(ScanCodes, CodesNoKeySendsAreRefused)
{
    EXPECT_EQ(linuxKeyCode(0x00, false), 0);
    EXPECT_EQ(linuxKeyCode(0x54, false), 0);
    EXPECT_EQ(linuxKeyCode(0x59, false), 0);
    EXPECT_EQ(linuxKeyCode(0x011E, false), 0);  // a high byte that is no prefix
    EXPECT_EQ(linuxKeyCode(0xE01E, true), 0);
    EXPECT_EQ(linuxKeyCode(0xE24D, true), 0);
}

TEST(WheelSteps, WholeNotchesClickAndTheRestWaits)
{
    systemctl::wheelSteps wheel;
    EXPECT_EQ(wheel.clicks(240), 2);
    EXPECT_EQ(wheel.clicks(60), 0);
    EXPECT_EQ(wheel.clicks(60), 1);  // two halves make a notch
    EXPECT_EQ(wheel.remainder(), 0);
    EXPECT_EQ(wheel.clicks(-130), -1);
    EXPECT_EQ(wheel.remainder(), -10);
    EXPECT_EQ(wheel.clicks(130), 1);
    EXPECT_EQ(wheel.clicks(-2147483647 - 1), -systemctl::wheelSteps::maxClicks);
}
