#pragma once
#include "hub/menuactions.h"

class Tolvanu_Com;

// The menu's actions carried out on the running hub.
namespace hub {

class hubmenu : public menuactions {
public:
    explicit hubmenu(Tolvanu_Com& hub);

    int32_t level() override;
    void chooseLevel(int32_t level) override;
    bool autostart() override;
    void setAutostart(bool on) override;
    std::vector<pluginrow> plugins() override;
    void closePlugin(int32_t index) override;
    void setPluginEnabled(int32_t index, bool on) override;
    void closeSessions() override;
    std::vector<addressrow> addresses() override;
    std::vector<vcore::str> recentLog() override;
    void print(const vcore::str& line) override;
    void exit() override;

private:
    Tolvanu_Com& hub_;
};

} // namespace hub
