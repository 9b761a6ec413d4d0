// The terminal console's keys, with a menu that records what it was asked to do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hub/consolekeys.h"

namespace {

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
    void chooseLevel(int32_t level) override
    {
        level_ = level;
        chosen.push_back(level);
    }
    bool autostart() override { return autostart_; }
    void setAutostart(bool on) override { autostart_ = on; }
    std::vector<hub::pluginrow> plugins() override { return rows; }
    void closePlugin(int32_t index) override
    {
        closed.push_back(index);
        rows[size_t(index)].busy = false;
    }
    void setPluginEnabled(int32_t index, bool on) override { rows[size_t(index)].enabled = on; }
    // The keys never close every session at once.
    void closeSessions() override { ADD_FAILURE() << "closeSessions"; }
    std::vector<hub::addressrow> addresses() override { return addressRows; }
    std::vector<vcore::str> recentLog() override { return log; }
    void print(const vcore::str& line) override { printed.push_back(narrow(line)); }
    void exit() override { ++exits; }

    std::vector<std::string> take()
    {
        std::vector<std::string> lines;
        lines.swap(printed);
        return lines;
    }

    int32_t level_ = -1;
    bool autostart_ = false;
    std::vector<int32_t> chosen;
    std::vector<int32_t> closed;
    std::vector<hub::pluginrow> rows{{vcore::str(u"VLC"), vcore::str(u"media"), true, true},
                                     {vcore::str(u"system"), vcore::str(u"system"), false, false}};
    std::vector<hub::addressrow> addressRows;
    std::vector<vcore::str> log;
    std::vector<std::string> printed;
    int exits = 0;
};

class ConsoleKeys : public ::testing::Test {
protected:
    recordingMenu menu;
    hub::consolekeys keys{menu};
};

using lines = std::vector<std::string>;

TEST_F(ConsoleKeys, DigitsChooseTheSecurityLevelsAndSayWhichHolds)
{
    keys.feed("2");
    EXPECT_EQ(lines{"security: ask per session"}, menu.take());
    keys.feed("0413");
    EXPECT_EQ((std::vector<int32_t>{2, 0, 4, 1, 3}), menu.chosen);
    EXPECT_EQ((lines{"security: trust all", "security: block all", "security: ask once", "security: ask every time"}),
              menu.take());
}

TEST_F(ConsoleKeys, AutostartTogglesAndQuitEndsTheHub)
{
    keys.feed("a");
    EXPECT_TRUE(menu.autostart_);
    keys.feed("a");
    EXPECT_FALSE(menu.autostart_);
    EXPECT_EQ((lines{"autostart: on", "autostart: off"}), menu.take());
    EXPECT_EQ(0, menu.exits);
    keys.feed("q");
    EXPECT_EQ(1, menu.exits);
}

TEST_F(ConsoleKeys, PlugInListShowsBusyAndEnabledMarks)
{
    keys.feed("p");
    EXPECT_EQ((lines{"plug-in 1: VLC (media) busy, enabled", "plug-in 2: system (system) idle, disabled"}),
              menu.take());
    menu.rows.clear();
    keys.feed("p");
    EXPECT_EQ(lines{"plug-ins: none"}, menu.take());
}

TEST_F(ConsoleKeys, PlugInNumberFollowsCloseAndEnable)
{
    keys.feed("c1");
    EXPECT_EQ(std::vector<int32_t>{0}, menu.closed);
    EXPECT_FALSE(menu.rows[0].busy);
    keys.feed("e1e2");
    EXPECT_FALSE(menu.rows[0].enabled);
    EXPECT_TRUE(menu.rows[1].enabled);
    EXPECT_EQ((lines{"closed: VLC", "VLC: disabled", "system: enabled"}), menu.take());
}

TEST_F(ConsoleKeys, NumberWithoutAPlugInDoesNothingAndTheNextKeyIsACommandAgain)
{
    keys.feed("c3c0e");
    keys.feed("x");
    EXPECT_TRUE(menu.closed.empty());
    EXPECT_TRUE(menu.rows[0].enabled);
    EXPECT_EQ((lines{"close: no plug-in 3 (p lists them)", "close: no plug-in 0 (p lists them)",
                     "enable: no plug-in x (p lists them)"}),
              menu.take());
    keys.feed("3");
    EXPECT_EQ(std::vector<int32_t>{3}, menu.chosen) << "a level again, not a plug-in";
}

TEST_F(ConsoleKeys, AddressesAndTheLogAreListed)
{
    keys.feed("i");
    EXPECT_EQ(lines{"addresses: none yet"}, menu.take());
    menu.addressRows = {{vcore::str(u"10.0.0.2"), false}, {vcore::str(u"VLC 10.0.0.9"), true}};
    menu.log = {vcore::str(u"first"), vcore::str(u"second")};
    keys.feed("il");
    EXPECT_EQ((lines{"address: 10.0.0.2", "address: VLC 10.0.0.9 (current)", "--- the last 2 log lines ---",
                     "first", "second", "---"}),
              menu.take());
}

TEST_F(ConsoleKeys, UnknownKeysShowTheHelpAndBlanksSayNothing)
{
    keys.feed(" \r\n");
    EXPECT_TRUE(menu.take().empty());
    keys.feed("z");
    EXPECT_EQ(lines{narrow(vcore::str(hub::consolekeys::help()))}, menu.take());
    keys.feed("?");
    EXPECT_EQ(1u, menu.take().size());
}

TEST_F(ConsoleKeys, EscapeSequencesOfArrowAndFunctionKeysArePassedOver)
{
    // Up, F1, Delete: none of their bytes is a command (the '3' of Delete is no level).
    keys.feed("\x1b[A\x1bOP\x1b[3~");
    EXPECT_TRUE(menu.take().empty());
    EXPECT_TRUE(menu.chosen.empty());
    // A lone Escape before a key leaves the key its meaning.
    keys.feed("\x1b");
    keys.feed("1");
    EXPECT_EQ(std::vector<int32_t>{1}, menu.chosen);
}

} // namespace
