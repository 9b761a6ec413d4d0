#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "hub/menuactions.h"
#include "vcore/str.h"

// The tray's right-click menu as data (items, ids, check marks, order) and its commands, apart
// from the Win32 calls that show it, so both can be checked on any platform.
namespace hub::traycommand {

constexpr uint32_t exit = 1;
constexpr uint32_t console = 2;
constexpr uint32_t autostart = 3;
constexpr uint32_t trustAll = 256;  // the five levels follow in order up to block all (260)
constexpr uint32_t blockAll = 260;
constexpr uint32_t firstPlugin = 4097;
// Plug-in items past this one are shown but do nothing.
constexpr uint32_t lastActingPlugin = 4104;

} // namespace hub::traycommand

namespace hub {

// One row of the menu; id 0 is a separator.
struct trayitem {
    uint32_t id = 0;
    vcore::str text;
    bool checked = false;

    bool separator() const { return id == 0; }
};

// The level item that carries the check mark. A level never chosen (below 0) is shown as
// "ask once", which is what the access check does with it.
uint32_t checkedLevelItem(int32_t level);

// The menu as it stands now; version is the program's version text.
std::vector<trayitem> traymenu(menuactions& actions, const vcore::str& version);

// Carries out a chosen item; false for an id the menu does not act on.
bool runTraycommand(menuactions& actions, uint32_t id, const std::function<void()>& showConsole);

} // namespace hub
