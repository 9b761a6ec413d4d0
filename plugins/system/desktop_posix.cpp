// A Linux desktop: X for input and windows, PulseAudio for the volume and the beep.
#include "plugins/system/desktop.h"

#include <chrono>
#include <thread>

#include "plugins/system/pulsesound_posix.h"
#include "plugins/system/xdesktop_posix.h"

namespace systemctl {
namespace {

class posixDesktop : public machine {
public:
    explicit posixDesktop(const logSink& log) : x_(log), sound_(log) {}

    void key(uint16_t scanCode, bool extended, bool up) override { x_.key(scanCode, extended, up); }
    void moveMouse(int32_t dx, int32_t dy) override { x_.moveMouse(dx, dy); }
    void button(mouseButton which, bool down) override { x_.button(which, down); }
    void wheel(int32_t data) override { x_.wheel(data); }
    void beep() override { sound_.beep(); }

    bool readVolume(float& scalar) override { return sound_.readVolume(scalar); }
    bool writeVolume(float scalar) override { return sound_.writeVolume(scalar); }

    windowId foregroundWindow() override { return x_.activeWindow(); }
    bool windowExists(windowId window) override { return x_.windowExists(window); }
    void maximise(windowId window) override { x_.setMaximised(window, true); }
    void restore(windowId window) override { x_.setMaximised(window, false); }
    vcore::str caption(windowId window, int32_t maxUnits) override { return x_.caption(window, maxUnits); }

    void pause(uint32_t ms) override
    {
        if (ms == 0)
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

private:
    xDesktop x_;
    pulseSound sound_;
};

} // namespace

std::unique_ptr<machine> makeDesktop(logSink log)
{
    return std::make_unique<posixDesktop>(log);
}

} // namespace systemctl
