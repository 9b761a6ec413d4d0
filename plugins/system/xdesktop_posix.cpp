#include "plugins/system/xdesktop_posix.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cstdlib>

#include "plugins/system/scancodes.h"

namespace systemctl {

// Xlib calls this instead of ending the process; the display is then dead for good.
void displayLost(Display*, void* self)
{
    static_cast<xDesktop*>(self)->lost_ = true;
}

namespace {

// Protocol errors (a window that is gone) are answers here, not reasons to end the process.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

int quietIoError(Display*)
{
    return 0;
}

// X key codes are Linux key codes moved up by 8.
constexpr int xKeyOffset = 8;
// A relative motion travels as 16 bits.
constexpr int32_t maxStep = 32767;

} // namespace

xDesktop::xDesktop(logSink log)
    : missing_(std::move(log), u"[system] no X display: keys, mouse and pin do nothing",
               u"[system] X display reached")
{
}

xDesktop::~xDesktop()
{
    if (display_)
        XCloseDisplay(display_);
}

Display* xDesktop::display()
{
    if (display_ && !lost_)
        return display_;
    if (display_) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
    lost_ = false;
    XSetErrorHandler(ignoreError);
    XSetIOErrorHandler(quietIoError);
    display_ = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (display_ && !XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
    if (!display_) {
        missing_.fail();
        return nullptr;
    }
    XSetIOErrorExitHandler(display_, displayLost, this);
    missing_.recover();
    return display_;
}

void xDesktop::flush()
{
    XFlush(display_);
    if (lost_)
        lose();
}

void xDesktop::lose()
{
    missing_.fail();
}

unsigned long xDesktop::atom(const char* name)
{
    return XInternAtom(display_, name, False);
}

void xDesktop::key(uint16_t scanCode, bool extended, bool up)
{
    const uint16_t code = linuxKeyCode(scanCode, extended);
    if (!code || !display())
        return;
    XTestFakeKeyEvent(display_, code + xKeyOffset, up ? False : True, CurrentTime);
    flush();
}

void xDesktop::moveMouse(int32_t dx, int32_t dy)
{
    if (!display())
        return;
    XTestFakeRelativeMotionEvent(display_, std::clamp(dx, -maxStep, maxStep), std::clamp(dy, -maxStep, maxStep),
                                 CurrentTime);
    flush();
}

void xDesktop::button(mouseButton which, bool down)
{
    if (!display())
        return;
    const unsigned number = which == mouseButton::left ? 1 : which == mouseButton::middle ? 2 : 3;
    XTestFakeButtonEvent(display_, number, down ? True : False, CurrentTime);
    flush();
}

void xDesktop::wheel(int32_t data)
{
    if (!display())
        return;
    const int32_t clicks = wheel_.clicks(data);
    const unsigned number = clicks > 0 ? 4 : 5;
    for (int32_t i = 0; i < std::abs(clicks); ++i) {
        XTestFakeButtonEvent(display_, number, True, CurrentTime);
        XTestFakeButtonEvent(display_, number, False, CurrentTime);
    }
    flush();
}

windowId xDesktop::activeWindow()
{
    if (!display())
        return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    windowId window = 0;
    if (XGetWindowProperty(display_, DefaultRootWindow(display_), atom("_NET_ACTIVE_WINDOW"), 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
        data && type == XA_WINDOW && format == 32 && count == 1)
        window = windowId(reinterpret_cast<unsigned long*>(data)[0]);
    if (data)
        XFree(data);
    if (lost_)
        lose();
    return window;
}

bool xDesktop::windowExists(windowId window)
{
    if (!display())
        return false;
    XWindowAttributes attributes;
    const bool exists = XGetWindowAttributes(display_, Window(window), &attributes) != 0;
    if (lost_)
        lose();
    return exists && !lost_;
}

void xDesktop::setMaximised(windowId window, bool on)
{
    if (!display())
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window(window);
    event.xclient.message_type = atom("_NET_WM_STATE");
    event.xclient.format = 32;
    event.xclient.data.l[0] = on ? 1 : 0;  // _NET_WM_STATE_ADD / _REMOVE
    event.xclient.data.l[1] = long(atom("_NET_WM_STATE_MAXIMIZED_VERT"));
    event.xclient.data.l[2] = long(atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
    event.xclient.data.l[3] = 1;  // asked for by an application
    XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    flush();
}

vcore::str xDesktop::caption(windowId window, int32_t maxUnits)
{
    vcore::str title;
    if (!display())
        return title;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    // Four bytes of UTF-8 at most per unit.
    if (XGetWindowProperty(display_, Window(window), atom("_NET_WM_NAME"), 0, maxUnits, False,
                           atom("UTF8_STRING"), &type, &format, &count, &after, &data) == Success &&
        data && format == 8 && count > 0) {
        title.assignNarrow(reinterpret_cast<const char*>(data), int32_t(count));
        title.fromUtf8();
    } else {
        char* name = nullptr;
        if (XFetchName(display_, Window(window), &name) && name) {
            title.assignNarrow(name);
            XFree(name);
        }
    }
    if (data)
        XFree(data);
    if (title.length() > maxUnits)
        title.set(title.data(), maxUnits);
    if (lost_)
        lose();
    return title;
}

} // namespace systemctl
