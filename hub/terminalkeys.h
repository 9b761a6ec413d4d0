#pragma once
#include <memory>

#include "hub/access/linegate.h"
#include "hub/menuactions.h"

// The menu's actions from single keys on the terminal, while the hub runs. Linux only, and only
// when stdin is a terminal in our foreground; Windows has its tray menu instead.
namespace hub {

class terminalkeys {
public:
    // While a question waits on the terminal (told by questions), its answer gets the keys.
    terminalkeys(menuactions& actions, linegate& questions);
    // The terminal goes back to how it was.
    ~terminalkeys();
    terminalkeys(const terminalkeys&) = delete;
    terminalkeys& operator=(const terminalkeys&) = delete;

    bool active() const { return impl_ != nullptr; }

private:
    struct impl;
    std::unique_ptr<impl> impl_;
};

} // namespace hub
