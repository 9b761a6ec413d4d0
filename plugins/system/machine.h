#pragma once
#include <cstdint>

#include "vcore/str.h"

// What the system service does to the PC it runs on: synthesised input, the master volume, the
// window in front and the beep. One implementation per platform, and a recording one in tests.
namespace systemctl {

enum class mouseButton { left, right, middle };

// A window as the platform names it; 0 is none.
using windowId = uint64_t;

class machine {
public:
    virtual ~machine() = default;

    // On the thread that will drive it, before the first command: opens what the platform
    // would otherwise open on first use.
    virtual void prepare() {}

    // A PC set-1 scan code (0xE0-prefixed ones are extended keys), pressed or released.
    virtual void key(uint16_t scanCode, bool extended, bool up) = 0;
    virtual void moveMouse(int32_t dx, int32_t dy) = 0;
    virtual void button(mouseButton which, bool down) = 0;
    // In the platform's 120-per-notch unit; positive turns away from the user.
    virtual void wheel(int32_t data) = 0;
    // 500 Hz for 100 ms.
    virtual void beep() = 0;

    // The master volume as 0..1; false when there is no output device to ask.
    virtual bool readVolume(float& scalar) = 0;
    // False when there is no output device or it refused the value.
    virtual bool writeVolume(float scalar) = 0;

    // The window in front, or 0.
    virtual windowId foregroundWindow() = 0;
    virtual bool windowExists(windowId window) = 0;
    virtual void maximise(windowId window) = 0;
    virtual void restore(windowId window) = 0;
    // The window's title, at most maxUnits UTF-16 units.
    virtual vcore::str caption(windowId window, int32_t maxUnits) = 0;

    // Gives up the processor for ms milliseconds (0: the rest of the time slice).
    virtual void pause(uint32_t ms) = 0;
};

} // namespace systemctl
