#include "hub/messageloop.h"

#include <windows.h>

namespace hub {

namespace {
DWORD mainThread = 0;
}

messageloop::messageloop()
{
    mainThread = GetCurrentThreadId();
    // The thread's message queue exists from here on, so an early quit() is not lost.
    MSG message;
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}
messageloop::~messageloop() = default;

void messageloop::run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void messageloop::quit() { PostThreadMessageW(mainThread, WM_QUIT, 0, 0); }

void messageloop::dispatchPending(uint32_t ms)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < ms) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace hub
