#pragma once
#include <atomic>
#include <vector>

#include "hub/traymenu.h"
#include "vcore/vobject.h"

// The hub's icon in the notification area (Windows): a hidden "TrayWindow" that receives the
// icon's notifications as WM_USER + 1 and raises the mouse events on this object ("clicked",
// "doubleClicked", "rightClicked", "rightDoubleClicked", "midClicked", "MidDoubleClicked").
namespace hub {

class trayicon : public vcore::vObject {
public:
    static constexpr int idleIcon = 101;
    static constexpr int activeIcon = 102;

    trayicon();
    ~trayicon() override;

    // Into the notification area; false when it was refused (then the hub runs without it).
    bool add();
    // Out of the notification area, when it was added.
    void remove();
    bool added() const { return added_; }

    // From any thread: the switch is posted to the window's thread, which alone touches the
    // icon, so a worker never waits for the main thread (which may be shutting down).
    void showIcon(int resource);
    int icon() const { return icon_; }
    // Raised on the window's thread after the icon was switched, with an int* to the resource.
    static constexpr const char16_t* iconChanged = u"iconChanged";

    // The window (HWND) that receives the notifications.
    void* window() const { return window_; }
    // The window that was in front when the pointer last moved over the icon.
    void* foreground() const { return foreground_; }

    // The notification's mouse message, as the window procedure hands it on.
    void notify(unsigned mouseMessage);
    void switchIcon(int resource);

private:
    void* window_ = nullptr;
    void* foreground_ = nullptr;
    bool added_ = false;
    std::atomic<int> icon_{idleIcon};
};

// Shows the menu at the pointer (centred, one pixel above it) for owner and destroys it when it
// closes; the chosen item arrives at owner as WM_COMMAND.
void showTraymenu(void* owner, const std::vector<trayitem>& items);

} // namespace hub
