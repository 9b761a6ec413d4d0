// The menu's actions on a hub with the echo test plug-in.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "hub/hubmenu.h"
#include "hub/programfile.h"
#include "hub/tolvanu_com.h"
#include "hub/traymenu.h"
#include "profile.h"
#include "vcore/regkey.h"

namespace {

namespace fs = std::filesystem;

constexpr const char16_t* devicesKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\devices";

vcore::str echoFolder()
{
    const fs::path program(std::u16string(hub::programPath().data()));
    return vcore::str((program.parent_path().parent_path() / "testplugins" / "echo").u16string().c_str());
}

bool devicesKept()
{
    vcore::regkey key;
    return key.open(devicesKey);
}

void addDevice()
{
    vcore::regkey key;
    ASSERT_TRUE(key.open(devicesKey, true));
    ASSERT_TRUE(key.writeDword(u"tablet", 1));
}

class closingCom : public Tolvanu_Com {
public:
    ~closingCom() override { stop(); }
};

class HubMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        com.setPluginFolder(echoFolder());
        com.start();
        ASSERT_EQ(1, com.host().count());
    }

    scratchProfile profile;
    closingCom com;
    hub::hubmenu menu{com};
};

TEST_F(HubMenu, AskPerSessionAndStricterForgetTheDevicesAtOnceAskOnceKeepsThem)
{
    addDevice();
    menu.chooseLevel(1);
    EXPECT_EQ(1, com.level());
    EXPECT_TRUE(devicesKept());
    menu.chooseLevel(0);
    EXPECT_TRUE(devicesKept());
    menu.chooseLevel(2);
    EXPECT_EQ(2, menu.level());
    EXPECT_FALSE(devicesKept());
    addDevice();
    menu.chooseLevel(4);
    EXPECT_FALSE(devicesKept());
}

TEST_F(HubMenu, PlugInRowsFollowTheHostAndDisablingABusyOneClosesIt)
{
    int32_t port = -1;
    com.setLevel(0);
    ASSERT_TRUE(com.openRequested(vcore::str(u"echo"), vcore::str(u"Phone:1"), port));
    std::vector<hub::pluginrow> rows = menu.plugins();
    ASSERT_EQ(1u, rows.size());
    EXPECT_TRUE(rows[0].className == u"echo");
    EXPECT_TRUE(rows[0].busy);
    EXPECT_TRUE(rows[0].enabled);

    menu.setPluginEnabled(0, false);
    rows = menu.plugins();
    EXPECT_FALSE(rows[0].enabled);
    EXPECT_FALSE(rows[0].busy) << "its session was closed";
    EXPECT_FALSE(com.openRequested(vcore::str(u"echo"), vcore::str(u"Phone:1"), port)) << "disabled";

    menu.setPluginEnabled(0, true);
    ASSERT_TRUE(com.openRequested(vcore::str(u"echo"), vcore::str(u"Phone:1"), port));
    menu.closePlugin(0);
    EXPECT_FALSE(menu.plugins()[0].busy);
    menu.closePlugin(5);  // no such plug-in: nothing happens
}

TEST_F(HubMenu, TheTrayMenuShowsThePlugInOfTheHostWithItsBusyMark)
{
    auto pluginItem = [this] { return hub::traymenu(menu, vcore::str(u"1"))[4]; };
    EXPECT_EQ(hub::traycommand::firstPlugin, pluginItem().id);
    EXPECT_TRUE(pluginItem().text == com.host().plugin(0).instanceName());
    EXPECT_FALSE(pluginItem().checked);
    int32_t port = -1;
    com.setLevel(0);
    ASSERT_TRUE(com.openRequested(vcore::str(u"echo"), vcore::str(u"Phone:1"), port));
    EXPECT_TRUE(pluginItem().checked);
}

TEST_F(HubMenu, TheLogComesOldestFirstAndHoldsTheLastFifty)
{
    for (int i = 1; i <= 60; ++i)
        com.log(vcore::str::formatted(u"line %d", i));
    const std::vector<vcore::str> lines = menu.recentLog();
    ASSERT_EQ(50u, lines.size());
    EXPECT_TRUE(lines.front() == u"line 11");
    EXPECT_TRUE(lines.back() == u"line 60");
}

} // namespace
