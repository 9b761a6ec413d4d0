#include "hub/traymenu.h"

namespace hub {

namespace {

trayitem item(uint32_t id, const vcore::str& text, bool checked = false) { return {id, text, checked}; }
trayitem separator() { return {}; }

} // namespace

uint32_t checkedLevelItem(int32_t level)
{
    if (level == 0)
        return traycommand::trustAll;
    if (level < 0)
        return traycommand::trustAll + 1;
    if (level >= 4)
        return traycommand::blockAll;
    return traycommand::trustAll + uint32_t(level);
}

std::vector<trayitem> traymenu(menuactions& actions, const vcore::str& version)
{
    static const char16_t* const levelTexts[] = {u"Security: trust all", u"Security: ask once",
                                                 u"Security: ask per session", u"Security: ask every time",
                                                 u"Security: block all"};
    std::vector<trayitem> menu;
    menu.push_back(item(traycommand::console, vcore::str::formatted(u"Tolvanu(%s) Console", version.data())));
    menu.push_back(separator());
    menu.push_back(item(traycommand::autostart, vcore::str(u"Autostart"), actions.autostart()));
    menu.push_back(separator());
    const std::vector<pluginrow> plugins = actions.plugins();
    for (size_t i = 0; i < plugins.size(); ++i)
        menu.push_back(item(traycommand::firstPlugin + uint32_t(i), plugins[i].instanceName, plugins[i].busy));
    if (!plugins.empty())
        menu.push_back(separator());
    const uint32_t checkedLevel = checkedLevelItem(actions.level());
    for (uint32_t id = traycommand::trustAll; id <= traycommand::blockAll; ++id)
        menu.push_back(item(id, vcore::str(levelTexts[id - traycommand::trustAll]), id == checkedLevel));
    menu.push_back(separator());
    menu.push_back(item(traycommand::exit, vcore::str(u"Exit")));
    return menu;
}

bool runTraycommand(menuactions& actions, uint32_t id, const std::function<void()>& showConsole)
{
    if (id == traycommand::console) {
        if (showConsole)
            showConsole();
        return true;
    }
    if (id == traycommand::autostart) {
        actions.setAutostart(!actions.autostart());
        return true;
    }
    if (id >= traycommand::trustAll && id <= traycommand::blockAll) {
        actions.chooseLevel(int32_t(id - traycommand::trustAll));
        return true;
    }
    if (id >= traycommand::firstPlugin && id <= traycommand::lastActingPlugin) {
        actions.closeSessions();
        return true;
    }
    if (id == traycommand::exit) {
        actions.exit();
        return true;
    }
    return false;
}

} // namespace hub
