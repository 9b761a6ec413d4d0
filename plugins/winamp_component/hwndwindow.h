#pragma once
#include <atomic>

#include "plugins/winamp_component/winampwindow.h"

// Winamp's main window, reached with SendMessageA from inside Winamp's process.
namespace winamp {

class hwndWindow : public window {
public:
    // Looks for the top-level window of class "Winamp v1.x"; false when there is none.
    bool find();
    bool found() const { return handle_.load() != nullptr; }

    bool ipc(int ipcNumber, intptr_t wParam, intptr_t& result) override;
    bool press(int id) override;

private:
    // The window, found again when the one kept has gone (Winamp restarted its window).
    void* current();

    std::atomic<void*> handle_{nullptr};
};

} // namespace winamp
