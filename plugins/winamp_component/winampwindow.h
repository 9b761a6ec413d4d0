#pragma once
#include <cstdint>

// Winamp's main window as the component reaches it: synchronous messages, answered or not.
namespace winamp {

class window {
public:
    virtual ~window() = default;
    // IPC: WM_USER with wParam and lParam ipcNumber; false when there is no window to ask.
    virtual bool ipc(int ipcNumber, intptr_t wParam, intptr_t& result) = 0;
    // A button: WM_COMMAND with the id; false when there is no window.
    virtual bool press(int id) = 0;
};

} // namespace winamp
