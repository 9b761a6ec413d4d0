// Routing sessions to loaded plug-ins: connect, close, switching off, address reports.
#include <gtest/gtest.h>

#include "hub/host/pluginhost.h"
#include "support.h"

using namespace hosttest;

namespace {

// The order example, loaded: Winamp (4013), VLC (4010), iTunes (4011), WMP12 (4012), system.
class Route : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.addOdd("wmp12", "a_wmp12");
        folder.addOdd("itunes", "b_itunes");
        folder.addOdd("vlc", "c_vlc");
        folder.addOdd("winamp", "d_winamp");
        folder.addOdd("system", "e_system");
        ASSERT_EQ(host.loadFolder(folder.folder()), 5);
    }

    ravPlugin& named(const char* instance)
    {
        for (int32_t i = 0; i < host.count(); ++i)
            if (narrow(host.plugin(i).instanceName()) == instance)
                return host.plugin(i);
        throw std::runtime_error(instance);
    }

    std::vector<std::string> calls(const std::string& entry)
    {
        std::vector<std::string> out;
        for (const std::string& line : trace.lines())
            if (line.find(" " + entry + " ") != std::string::npos)
                out.push_back(line);
        return out;
    }

    oddTrace trace;
    scratch folder;
    PluginHost host;
};

} // namespace

TEST_F(Route, ConnectTakesTheFirstPlugInThatGivesAPort)
{
    EXPECT_EQ(host.connect(u"media"), 4013);
    EXPECT_TRUE(named("Winamp").busy());
    EXPECT_FALSE(named("VLC").busy());
    EXPECT_EQ(calls("connect"), (std::vector<std::string>{"winamp connect media"}));

    EXPECT_EQ(host.connect(u"system"), 26001);
    EXPECT_TRUE(named("system").busy());
    // Every plug-in asked before it answered 0 and is not busy any more.
    EXPECT_FALSE(named("Winamp").busy());
}

TEST_F(Route, ConnectSkipsDisabledPlugIns)
{
    host.setEnabled(named("Winamp"), false);
    EXPECT_EQ(host.connect(u"media"), 4010);
    EXPECT_TRUE(named("VLC").busy());
    EXPECT_EQ(calls("connect"), (std::vector<std::string>{"vlc connect media"}));

    // A disabled plug-in keeps its busy flag through connects.
    host.addressReport(vcore::str(u"Winamp 10.0.0.9"));
    host.setEnabled(named("VLC"), false);
    EXPECT_EQ(host.connect(u"media"), 4011);
    EXPECT_TRUE(named("Winamp").busy());
}

TEST_F(Route, ConnectForAClassNobodyServesAsksAllAndGivesZero)
{
    EXPECT_EQ(host.connect(u"video"), 0);
    EXPECT_EQ(calls("connect").size(), 5u);
    for (int32_t i = 0; i < host.count(); ++i)
        EXPECT_FALSE(host.plugin(i).busy());
}

TEST_F(Route, SwitchingOffABusyPlugInClosesItsSession)
{
    ASSERT_EQ(host.connect(u"media"), 4013);
    host.setEnabled(named("Winamp"), false);
    EXPECT_FALSE(named("Winamp").enabled());
    EXPECT_FALSE(named("Winamp").busy());
    EXPECT_EQ(calls("close"), (std::vector<std::string>{"winamp close media"}));

    host.setEnabled(named("VLC"), false);  // not busy: nothing to close
    EXPECT_EQ(calls("close").size(), 1u);
}

TEST_F(Route, CloseCallsEveryPlugInInListOrder)
{
    host.addressReport(vcore::str(u"system 10.0.0.1"));
    host.connect(u"media");
    host.close(u"media");
    EXPECT_EQ(calls("close"), (std::vector<std::string>{"winamp close media", "vlc close media",
                                                        "itunes close media", "wmp12 close media",
                                                        "system close media"}));
    EXPECT_FALSE(named("Winamp").busy());
    EXPECT_TRUE(named("system").busy()) << "its close said no";
}

TEST_F(Route, CloseWithoutAClassGivesEachItsOwn)
{
    host.close();
    EXPECT_EQ(calls("close"), (std::vector<std::string>{"winamp close media", "vlc close media",
                                                        "itunes close media", "wmp12 close media",
                                                        "system close system"}));
}

TEST_F(Route, AddressReportMarksTheInstanceNamedByItsFirstWord)
{
    host.addressReport(vcore::str(u"vlc 192.168.1.20"));
    EXPECT_TRUE(named("VLC").busy());
    host.addressReport(vcore::str(u"media.iTunes 192.168.1.20"));
    host.addressReport(vcore::str(u"WMP 12"));
    host.addressReport(vcore::str(u""));
    EXPECT_FALSE(named("iTunes").busy());
    EXPECT_FALSE(named("WMP12").busy());
    host.addressReport(vcore::str(u"system"));
    EXPECT_TRUE(named("system").busy());
}
