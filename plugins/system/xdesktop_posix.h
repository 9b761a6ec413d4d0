#pragma once
#include <cstdint>

#include "plugins/system/faultnotes.h"
#include "plugins/system/machine.h"
#include "plugins/system/wheelsteps.h"
#include "vcore/str.h"

struct _XDisplay;

// Keys, pointer and the window in front on the X display of $DISPLAY: XTest for input, the
// window manager's EWMH hints for windows. Opened when first needed and again after it went
// away; a lost display never ends the process. Used from one thread only.
namespace systemctl {

class xDesktop {
public:
    explicit xDesktop(logSink log);
    ~xDesktop();
    xDesktop(const xDesktop&) = delete;
    xDesktop& operator=(const xDesktop&) = delete;

    void key(uint16_t scanCode, bool extended, bool up);
    void moveMouse(int32_t dx, int32_t dy);
    void button(mouseButton which, bool down);
    void wheel(int32_t data);

    windowId activeWindow();
    bool windowExists(windowId window);
    // Adds (true) or removes both maximised states.
    void setMaximised(windowId window, bool on);
    vcore::str caption(windowId window, int32_t maxUnits);

private:
    _XDisplay* display();
    void flush();
    void lose();
    unsigned long atom(const char* name);

    _XDisplay* display_ = nullptr;
    bool lost_ = false;
    wheelSteps wheel_;
    faultNote missing_;
    friend void displayLost(_XDisplay*, void*);
};

} // namespace systemctl
