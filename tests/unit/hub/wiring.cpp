// The hub's communication object wired to its node, its plug-ins and its access check, with
// the echo test plug-in as the one plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "hub/host/hostcallback.h"
#include "hub/programfile.h"
#include "hub/tolvanu_com.h"
#include "profile.h"
#include "vcore/regkey.h"

namespace {

namespace fs = std::filesystem;

std::string narrow(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i)
        out += s[i] < 128 ? char(s[i]) : '?';
    return out;
}

// testplugins/echo of the build tree, beside bin/.
vcore::str echoFolder()
{
    const fs::path program(std::u16string(hub::programPath().data()));
    return vcore::str((program.parent_path().parent_path() / "testplugins" / "echo").u16string().c_str());
}

// Keeps what the console would show, and answers the access question as told.
class recordingCom : public Tolvanu_Com {
public:
    ~recordingCom() override { stop(); }

    void onIP(const vcore::str& text) override
    {
        std::lock_guard<std::mutex> hold(lock);
        addresses.push_back(narrow(text));
    }
    void onOnline() override { ++online; }
    void onOffline() override { ++offline; }

    bool logged(const std::string& line) const
    {
        for (int32_t k = 0; k < hub::logring::slots; ++k)
            if (narrow(ring().newest(k)) == line)
                return true;
        return false;
    }
    bool reported(const std::string& address)
    {
        std::lock_guard<std::mutex> hold(lock);
        return std::find(addresses.begin(), addresses.end(), address) != addresses.end();
    }
    ravPlugin& echo() { return host().plugin(0); }

    std::mutex lock;
    std::vector<std::string> addresses;
    std::atomic<int> online{0};
    std::atomic<int> offline{0};
    std::vector<std::string> questions;
    bool userSaysYes = true;

protected:
    bool askUser(const vcore::str& question) override
    {
        questions.push_back(narrow(question));
        return userSaysYes;
    }
};

class HubWiring : public ::testing::Test {
protected:
    void SetUp() override
    {
        com.setPluginFolder(echoFolder());
        com.start();
        ASSERT_EQ(1, com.host().count()) << "the echo plug-in, from " << narrow(echoFolder());
    }

    bool open(const char16_t* clientName)
    {
        port = -1;
        return com.openRequested(vcore::str(u"echo"), vcore::str(clientName), port);
    }

    scratchProfile profile;
    recordingCom com;
    int32_t port = -1;
};

TEST_F(HubWiring, StartLoadsThePlugInsAndAnnouncesTheirClasses)
{
    EXPECT_TRUE(com.logged("plugin: Tolvanu_echo" TOLVANU_LIBRARY_SUFFIX " (service echo) loaded"));
    ASSERT_EQ(1u, com.host().classes().size());
    EXPECT_TRUE(com.host().classes()[0] == u"echo");
    const std::vector<C4Service> services = com.node().services();
    ASSERT_EQ(1u, services.size());
    EXPECT_TRUE(services[0].name == u"echo");
    EXPECT_TRUE(services[0].offered);
    EXPECT_FALSE(services[0].open);
}

TEST_F(HubWiring, OpenIsCheckedAtTheLevelOfTheMomentAndStartsThePlugIn)
{
    com.setLevel(4);
    EXPECT_FALSE(open(u"Phone:1234"));
    EXPECT_EQ(0, port);
    EXPECT_FALSE(com.echo().busy());

    com.setLevel(0);
    EXPECT_TRUE(open(u"Phone:1234"));
    EXPECT_GT(port, 0);
    EXPECT_TRUE(com.echo().busy());
    EXPECT_EQ(1, com.online.load());
    EXPECT_TRUE(com.questions.empty());

    com.sessionClosed(vcore::str(u"echo"));
    EXPECT_FALSE(com.echo().busy());
    EXPECT_EQ(1, com.offline.load());
}

TEST_F(HubWiring, AcceptedDeviceIsRememberedUntilALevelAboveOneExits)
{
    com.setLevel(1);
    com.userSaysYes = false;
    EXPECT_FALSE(open(u"Phone:1234"));
    EXPECT_EQ(0, com.online.load());
    com.userSaysYes = true;
    EXPECT_TRUE(open(u"Phone:1234"));
    EXPECT_EQ((std::vector<std::string>(2, "Do you want to give access to Phone?")), com.questions);
    {
        vcore::regkey devices;
        uint32_t accepted = 0;
        ASSERT_TRUE(devices.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\devices"));
        EXPECT_TRUE(devices.readDword(u"1234", accepted));
        EXPECT_EQ(1u, accepted);
    }
    com.setLevel(2);
    com.stop();
    vcore::regkey devices;
    EXPECT_FALSE(devices.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\devices"));
}

TEST_F(HubWiring, ClosingAnotherClassKeepsTheHubOnlineWhileThePlugInServes)
{
    com.setLevel(0);
    ASSERT_TRUE(open(u"Phone:1234"));
    com.sessionClosed(vcore::str(u"media"));
    EXPECT_TRUE(com.echo().busy());
    EXPECT_EQ(0, com.offline.load());
}

TEST_F(HubWiring, PlugInsReachTheHubThroughTheCallback)
{
    EXPECT_EQ(1, hub::HostCallback(u"log", u"a line from a plug-in"));
    EXPECT_EQ("a line from a plug-in", narrow(com.ring().newest(0)));
    EXPECT_EQ(1, hub::HostCallback(u"REG_GET", u"vlc_autoconfig"));
    EXPECT_EQ(1, hub::HostCallback(u"reg_get", u"no such setting"));

    EXPECT_FALSE(com.echo().busy());
    EXPECT_EQ(1, hub::HostCallback(u"ip", u"test 10.0.0.9"));
    EXPECT_TRUE(com.reported("test 10.0.0.9"));
    EXPECT_TRUE(com.echo().busy()) << "the report named its instance";
}

TEST_F(HubWiring, StopUnloadsThePlugInsAndRefusesLaterClients)
{
    com.setLevel(0);
    com.stop();
    EXPECT_EQ(0, com.host().count());
    EXPECT_FALSE(open(u"Phone:1234"));
    EXPECT_EQ(0, port);
}

} // namespace
