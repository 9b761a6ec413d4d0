#pragma once
#include <cstdint>
#include <vector>

#include "hub/consolelayout.h"
#include "hub/listscroll.h"
#include "hub/menuactions.h"

// The console's address list and plug-in list (Windows): child windows of the console whose
// rows are painted from the menu's actions each time, so a repaint asked from a worker thread
// only invalidates them. A left click on a plug-in row closes its session, a right click
// switches it on or off. A list with more rows than fit gets a scroll bar and takes the wheel.
namespace hub {

class consolelists {
public:
    static constexpr int rowHeight = 18;

    // parent: the console's HWND.
    consolelists(void* parent, menuactions& actions);
    ~consolelists();
    consolelists(const consolelists&) = delete;
    consolelists& operator=(const consolelists&) = delete;

    void place(const consolelayout& layout);
    // From any thread.
    void refreshAddresses();
    void refreshPlugins();

    // The lists' windows (HWND), and their painting into a DC (HDC) of their size.
    void* addressWindow() const { return addresses_; }
    void* pluginWindow() const { return plugins_; }
    void paintAddresses(void* dc);
    void paintPlugins(void* dc);

    // Host index of each plug-in row, top first.
    std::vector<int32_t> pluginRows();
    int32_t selectedPlugin() const { return selectedPlugin_; }

    // The list windows' mouse, as their window procedure hands it on; row counts from the
    // list's top row, not the first shown.
    void pluginClicked(int row);
    void pluginRightClicked(int row);
    void addressClicked(int row);

    // The first row each list shows.
    const listscroll& addressScroll() const { return addressScroll_; }
    const listscroll& pluginScroll() const { return pluginScroll_; }
    listscroll& scrollOf(void* window) { return window == addresses_ ? addressScroll_ : pluginScroll_; }

private:
    menuactions& actions_;
    void* font_ = nullptr;
    void* addresses_ = nullptr;
    void* plugins_ = nullptr;
    int32_t selectedPlugin_ = -1;
    int32_t selectedAddress_ = -1;
    listscroll addressScroll_;
    listscroll pluginScroll_;
};

} // namespace hub
