// The tray menu's items and commands, on a menu double that records what it was asked to do.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hub/traymenu.h"

namespace {

using hub::traycommand::firstPlugin;

std::string narrow(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i)
        out += s[i] < 128 ? char(s[i]) : '?';
    return out;
}

class recordingMenu : public hub::menuactions {
public:
    int32_t level() override { return level_; }
    void chooseLevel(int32_t level) override { chosen.push_back(level); }
    bool autostart() override { return autostart_; }
    void setAutostart(bool on) override { autostartSet.push_back(on); }
    std::vector<hub::pluginrow> plugins() override { return rows; }
    void closePlugin(int32_t index) override { pluginCloses.push_back(index); }
    void setPluginEnabled(int32_t, bool) override { ADD_FAILURE() << "the menu does not switch plug-ins"; }
    void closeSessions() override { ++sessionCloses; }
    std::vector<hub::addressrow> addresses() override { return {}; }
    std::vector<vcore::str> recentLog() override { return {}; }
    void print(const vcore::str&) override {}
    void exit() override { ++exits; }

    void addPlugin(const char16_t* instance, bool busy)
    {
        rows.push_back({vcore::str(instance), vcore::str(u"media"), busy, true});
    }
    // Nothing asked of the hub at all.
    bool untouched() const
    {
        return chosen.empty() && autostartSet.empty() && pluginCloses.empty() && sessionCloses == 0 && exits == 0;
    }

    int32_t level_ = -1;
    bool autostart_ = false;
    std::vector<hub::pluginrow> rows;
    std::vector<int32_t> chosen;
    std::vector<bool> autostartSet;
    std::vector<int32_t> pluginCloses;
    int sessionCloses = 0;
    int exits = 0;
};

// "id text [x]" per item, "-" per separator.
std::vector<std::string> shown(const std::vector<hub::trayitem>& menu)
{
    std::vector<std::string> lines;
    for (const hub::trayitem& item : menu) {
        if (item.separator())
            lines.push_back("-");
        else
            lines.push_back(std::to_string(item.id) + " " + narrow(item.text) + (item.checked ? " [x]" : ""));
    }
    return lines;
}

std::vector<uint32_t> checkedIds(const std::vector<hub::trayitem>& menu)
{
    std::vector<uint32_t> ids;
    for (const hub::trayitem& item : menu)
        if (item.checked)
            ids.push_back(item.id);
    return ids;
}

TEST(TrayMenuItems, OrderIdsTextsChecksAndSeparatorsWithPlugins)
{
    recordingMenu actions;
    actions.level_ = 3;
    actions.autostart_ = true;
    actions.addPlugin(u"VLC", true);
    actions.addPlugin(u"system", false);
    const std::vector<std::string> expected{"2 Tolvanu(1.1.3) Console",
                                            "-",
                                            "3 Autostart [x]",
                                            "-",
                                            "4097 VLC [x]",
                                            "4098 system",
                                            "-",
                                            "256 Security: trust all",
                                            "257 Security: ask once",
                                            "258 Security: ask per session",
                                            "259 Security: ask every time [x]",
                                            "260 Security: block all",
                                            "-",
                                            "1 Exit"};
    EXPECT_EQ(expected, shown(hub::traymenu(actions, vcore::str(u"1.1.3"))));
    EXPECT_TRUE(actions.untouched()) << "building the menu acts on nothing";
}

TEST(TrayMenuItems, WithoutPluginsNoPluginItemsAndNoTheirSeparator)
{
    recordingMenu actions;
    const std::vector<std::string> expected{"2 Tolvanu() Console",
                                            "-",
                                            "3 Autostart",
                                            "-",
                                            "256 Security: trust all",
                                            "257 Security: ask once [x]",
                                            "258 Security: ask per session",
                                            "259 Security: ask every time",
                                            "260 Security: block all",
                                            "-",
                                            "1 Exit"};
    EXPECT_EQ(expected, shown(hub::traymenu(actions, vcore::str(u""))));
}

// Exactly one level is checked; below 0 shows what the access check does with it (ask once).
TEST(TrayMenuItems, TheCheckedLevelForEveryStoredLevel)
{
    const std::vector<std::pair<int32_t, uint32_t>> cases{{-2147483647 - 1, 257}, {-5, 257}, {-1, 257}, {0, 256},
                                                          {1, 257}, {2, 258}, {3, 259}, {4, 260}, {9, 260}};
    for (const auto& [level, item] : cases) {
        recordingMenu actions;
        actions.level_ = level;
        EXPECT_EQ(std::vector<uint32_t>{item}, checkedIds(hub::traymenu(actions, vcore::str(u"1"))))
            << "level " << level;
        EXPECT_EQ(item, hub::checkedLevelItem(level)) << "level " << level;
    }
}

TEST(TrayMenuItems, NinePluginsTheNinthIsShownWithItsBusyMark)
{
    recordingMenu actions;
    for (int i = 0; i < 8; ++i)
        actions.addPlugin(u"idle", false);
    actions.addPlugin(u"ninth", true);
    const std::vector<hub::trayitem> menu = hub::traymenu(actions, vcore::str(u"1"));
    ASSERT_EQ(21u, menu.size());
    EXPECT_EQ(firstPlugin + 8, menu[12].id);
    EXPECT_EQ("ninth", narrow(menu[12].text));
    EXPECT_TRUE(menu[12].checked);
    EXPECT_TRUE(menu[13].separator());
}

TEST(TrayMenuCommands, LevelItemsChooseTheirLevels)
{
    recordingMenu actions;
    for (uint32_t id = 256; id <= 260; ++id)
        EXPECT_TRUE(hub::runTraycommand(actions, id, nullptr));
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2, 3, 4}), actions.chosen);
}

TEST(TrayMenuCommands, AutostartIsSetToTheOppositeOfTheQuery)
{
    recordingMenu actions;
    actions.autostart_ = false;
    hub::runTraycommand(actions, 3, nullptr);
    actions.autostart_ = true;
    hub::runTraycommand(actions, 3, nullptr);
    EXPECT_EQ((std::vector<bool>{true, false}), actions.autostartSet);
}

TEST(TrayMenuCommands, ConsoleAndExit)
{
    recordingMenu actions;
    int consoles = 0;
    EXPECT_TRUE(hub::runTraycommand(actions, 2, [&] { ++consoles; }));
    EXPECT_EQ(1, consoles);
    EXPECT_TRUE(actions.untouched());
    EXPECT_TRUE(hub::runTraycommand(actions, 1, [&] { ++consoles; }));
    EXPECT_EQ(1, actions.exits);
    EXPECT_EQ(1, consoles);
}

// Ids 4097 to 4104 close the node's open sessions; the ninth plug-in's item and later do nothing.
TEST(TrayMenuCommands, PluginItemsCloseTheSessionsOnlyUpToTheEighth)
{
    recordingMenu actions;
    EXPECT_TRUE(hub::runTraycommand(actions, firstPlugin, nullptr));
    EXPECT_TRUE(hub::runTraycommand(actions, firstPlugin + 7, nullptr));
    EXPECT_EQ(2, actions.sessionCloses);
    EXPECT_TRUE(actions.pluginCloses.empty()) << "not one plug-in's own close";

    recordingMenu ninth;
    for (int i = 0; i < 9; ++i)
        ninth.addPlugin(u"p", true);
    EXPECT_FALSE(hub::runTraycommand(ninth, firstPlugin + 8, nullptr));
    EXPECT_FALSE(hub::runTraycommand(ninth, firstPlugin + 9, nullptr));
    EXPECT_TRUE(ninth.untouched());
}

TEST(TrayMenuCommands, IdsOutsideTheMenuDoNothing)
{
    recordingMenu actions;
    for (uint32_t id : {0u, 4u, 255u, 261u, 4096u, 65535u})
        EXPECT_FALSE(hub::runTraycommand(actions, id, [] { ADD_FAILURE() << "console shown"; })) << id;
    EXPECT_TRUE(actions.untouched());
}

} // namespace
