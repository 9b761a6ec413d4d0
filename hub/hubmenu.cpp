#include "hub/hubmenu.h"

#include "hub/access/securitylevel.h"
#include "hub/autostart.h"
#include "hub/messageloop.h"
#include "hub/settings.h"
#include "hub/tolvanu_com.h"

namespace hub {

hubmenu::hubmenu(Tolvanu_Com& hub) : hub_(hub) {}

int32_t hubmenu::level() { return hub_.level(); }

void hubmenu::chooseLevel(int32_t level)
{
    hub_.setLevel(level);
    if (level >= security::askPerSession)
        settings::deleteDevices();
}

bool hubmenu::autostart() { return autostartEnabled(); }
void hubmenu::setAutostart(bool on) { hub::setAutostart(on); }

std::vector<pluginrow> hubmenu::plugins()
{
    std::vector<pluginrow> rows;
    PluginHost& host = hub_.host();
    for (int32_t i = 0; i < host.count(); ++i) {
        ravPlugin& plugin = host.plugin(i);
        rows.push_back({plugin.instanceName(), vcore::str(plugin.className()), plugin.busy(), plugin.enabled()});
    }
    return rows;
}

void hubmenu::closePlugin(int32_t index)
{
    if (index >= 0 && index < hub_.host().count())
        hub_.host().closeOne(hub_.host().plugin(index));
}

void hubmenu::setPluginEnabled(int32_t index, bool on)
{
    if (index >= 0 && index < hub_.host().count())
        hub_.host().setEnabled(hub_.host().plugin(index), on);
}

void hubmenu::closeSessions() { hub_.node().closeSessions(); }

std::vector<addressrow> hubmenu::addresses() { return hub_.addresses().rows(); }
std::vector<vcore::str> hubmenu::recentLog() { return hub_.recentLog(); }
void hubmenu::print(const vcore::str& line) { hub_.terminal().line(line); }
void hubmenu::exit() { messageloop::quit(); }

} // namespace hub
