#include "plugins/winamp_component/hwndwindow.h"

#include <windows.h>

#include "plugins/winamp_component/winampipc.h"

namespace winamp {

bool hwndWindow::find()
{
    handle_ = FindWindowA(windowClass, nullptr);
    return found();
}

void* hwndWindow::current()
{
    HWND h = static_cast<HWND>(handle_.load());
    if (h && IsWindow(h))
        return h;
    // Also when an earlier look found none: a poll while the window was away must not
    // leave the component blind once it is back.
    find();
    return handle_.load();
}

bool hwndWindow::ipc(int ipcNumber, intptr_t wParam, intptr_t& result)
{
    HWND h = static_cast<HWND>(current());
    if (!h)
        return false;
    result = SendMessageA(h, WM_USER, WPARAM(wParam), LPARAM(ipcNumber));
    return true;
}

bool hwndWindow::press(int id)
{
    HWND h = static_cast<HWND>(current());
    if (!h)
        return false;
    SendMessageA(h, WM_COMMAND, WPARAM(id), 0);
    return true;
}

} // namespace winamp
