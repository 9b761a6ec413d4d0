// The access check at every level, with a scripted user and the device list in a clean registry.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "hub/access/accesscheck.h"
#include "hub/access/deviceregistry.h"
#include "profile.h"
#include "vcore/regkey.h"

namespace {

using vcore::regkey;

std::string narrow(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i)
        out += s[i] < 128 ? char(s[i]) : '?';
    return out;
}

// The registry's device list, counting every look and every write.
class countedDevices : public hub::devicelist {
public:
    bool accepted(const vcore::str& device) override
    {
        ++looks;
        return registry.accepted(device);
    }
    bool record(const vcore::str& device) override
    {
        ++writes;
        return registry.record(device);
    }
    int looks = 0;
    int writes = 0;

private:
    hub::deviceregistry registry;
};

class AccessCheck : public ::testing::Test {
protected:
    // A check as the hub builds it at start-up; a new one is a restart of the hub.
    hub::accesscheck makeCheck()
    {
        return hub::accesscheck(
            [this](const vcore::str& service) {
                connected.push_back(narrow(service));
                return pluginPort;
            },
            [this](const vcore::str& question) {
                questions.push_back(narrow(question));
                return userSaysYes;
            },
            devices, lock);
    }

    bool open(int32_t level, const char16_t* clientName)
    {
        port = -1;
        return check.allow(level, vcore::str(u"media"), vcore::str(clientName), port);
    }

    static bool devicesKeyExists()
    {
        regkey key;
        return key.open(hub::deviceregistry::path);
    }

    // The device's value as stored: type and bytes; empty when there is none.
    static std::vector<uint8_t> stored(const char16_t* device, uint32_t& type)
    {
        regkey key;
        std::vector<uint8_t> data;
        if (!key.open(hub::deviceregistry::path) || !key.readRaw(device, type, data))
            data.clear();
        return data;
    }

    static void store(const char16_t* device, uint32_t type, const std::vector<uint8_t>& data)
    {
        regkey key;
        ASSERT_TRUE(key.open(hub::deviceregistry::path, true));
        ASSERT_TRUE(key.writeRaw(device, type, data));
    }

    static bool recordedAsOne(const char16_t* device)
    {
        uint32_t type = 0;
        return stored(device, type) == std::vector<uint8_t>({1, 0, 0, 0}) && type == regkey::typeDword;
    }

    scratchProfile profile;
    countedDevices devices;
    vcore::semaphore lock;
    int32_t pluginPort = 6638;
    bool userSaysYes = true;
    std::vector<std::string> connected;
    std::vector<std::string> questions;
    int32_t port = -1;
    hub::accesscheck check = makeCheck();
};

TEST_F(AccessCheck, TrustAllLetsEveryClientInWithoutQuestionOrRegistry)
{
    userSaysYes = false;
    for (const char16_t* name : {u"Phone:1234", u"Laptop", u"", u":"}) {
        EXPECT_TRUE(open(0, name));
        EXPECT_EQ(6638, port);
    }
    EXPECT_EQ(4u, connected.size());
    EXPECT_EQ("media", connected[0]);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(0, devices.looks + devices.writes);
    EXPECT_FALSE(devicesKeyExists());
}

TEST_F(AccessCheck, AskOnceRemembersAnAcceptedDeviceAcrossRestarts)
{
    EXPECT_TRUE(open(1, u"Kitchen tablet:dev:0042"));
    EXPECT_EQ(6638, port);
    EXPECT_EQ(std::vector<std::string>{"Do you want to give access to Kitchen tablet:dev?"}, questions);
    EXPECT_TRUE(recordedAsOne(u"0042"));

    userSaysYes = false;
    EXPECT_TRUE(open(1, u"Renamed tablet:0042")) << "known by its device id, not its name";
    EXPECT_EQ(1u, questions.size());

    hub::accesscheck restarted = makeCheck();
    port = 0;
    EXPECT_TRUE(restarted.allow(1, vcore::str(u"media"), vcore::str(u"Kitchen tablet:dev:0042"), port));
    EXPECT_EQ(6638, port);
    EXPECT_EQ(1u, questions.size());
}

TEST_F(AccessCheck, AskOnceRefusedRecordsNothingAndAsksAgain)
{
    userSaysYes = false;
    EXPECT_FALSE(open(1, u"Phone:1234"));
    EXPECT_EQ(0, port);
    EXPECT_FALSE(open(1, u"Phone:1234"));
    EXPECT_EQ(2u, questions.size());
    EXPECT_TRUE(connected.empty()) << "no plug-in is started for a refused client";
    EXPECT_EQ(0, devices.writes);
    uint32_t type = 0;
    EXPECT_TRUE(stored(u"1234", type).empty());
}

TEST_F(AccessCheck, AskPerSessionAsksAndRemembersLikeAskOnce)
{
    EXPECT_TRUE(open(2, u"Phone:1234"));
    EXPECT_TRUE(open(2, u"Phone:1234"));
    EXPECT_EQ(1u, questions.size());
    EXPECT_TRUE(recordedAsOne(u"1234"));
}

TEST_F(AccessCheck, AskEveryTimeAsksEvenForARecordedDeviceAndRecordsNothing)
{
    EXPECT_TRUE(open(1, u"Phone:1234"));
    ASSERT_EQ(1u, questions.size());

    EXPECT_TRUE(open(3, u"Phone:1234"));
    EXPECT_TRUE(open(3, u"Tablet:77"));
    EXPECT_EQ(3u, questions.size());
    EXPECT_EQ(1, devices.writes);
    uint32_t type = 0;
    EXPECT_TRUE(stored(u"77", type).empty());

    userSaysYes = false;
    EXPECT_FALSE(open(3, u"Phone:1234"));
    EXPECT_EQ(0, port);
}

TEST_F(AccessCheck, BlockAllAndAnyLevelAboveRefuseWithoutAsking)
{
    EXPECT_TRUE(open(1, u"Phone:1234"));
    const size_t asked = questions.size();
    for (int32_t level : {4, 5, 7, INT_MAX}) {
        EXPECT_FALSE(open(level, u"Phone:1234")) << level;
        EXPECT_FALSE(open(level, u"Stranger:9")) << level;
        EXPECT_EQ(0, port);
    }
    EXPECT_EQ(asked, questions.size());
    EXPECT_EQ(1u, connected.size());
}

TEST_F(AccessCheck, LevelNeverChosenAsksOnceAndNeverTrustsAll)
{
    const std::pair<int32_t, const char16_t*> clients[] = {{-1, u"Phone:1"}, {-2, u"Phone:2"}, {INT_MIN, u"Phone:3"}};
    for (const auto& [level, name] : clients) {
        questions.clear();
        EXPECT_TRUE(open(level, name)) << level;
        EXPECT_TRUE(open(level, name)) << level;
        EXPECT_EQ(1u, questions.size()) << "asked for the unknown device only, level " << level;
    }
    userSaysYes = false;
    EXPECT_FALSE(open(-1, u"Stranger:9"));
}

TEST_F(AccessCheck, NameWithoutColonIsBothDisplayNameAndDeviceId)
{
    EXPECT_TRUE(open(1, u"Laptop"));
    EXPECT_EQ(std::vector<std::string>{"Do you want to give access to Laptop?"}, questions);
    EXPECT_TRUE(recordedAsOne(u"Laptop"));
}

TEST_F(AccessCheck, EmptyDeviceIdIsTheUnnamedDefaultValue)
{
    EXPECT_TRUE(open(1, u"Phone:"));
    EXPECT_EQ(std::vector<std::string>{"Do you want to give access to Phone?"}, questions);
    EXPECT_TRUE(recordedAsOne(u""));
    EXPECT_TRUE(open(1, u"Other phone:"));
    EXPECT_EQ(1u, questions.size()) << "every client without an id is that one device";
}

TEST_F(AccessCheck, AcceptedDeviceWithoutAPlugInIsRefusedWithoutAQuestion)
{
    EXPECT_TRUE(open(1, u"Phone:1234"));
    pluginPort = 0;
    EXPECT_FALSE(open(1, u"Phone:1234"));
    EXPECT_EQ(0, port);
    EXPECT_EQ(1u, questions.size());
    EXPECT_EQ(2u, connected.size());

    EXPECT_FALSE(open(1, u"Tablet:77")) << "allowed by the user, but no plug-in took it";
    EXPECT_TRUE(recordedAsOne(u"77"));
}

TEST_F(AccessCheck, CheckThatCannotHaveTheLockRefusesAndTheLockIsFreeAfterEveryCheck)
{
    ASSERT_TRUE(lock.wait(0));
    for (int32_t level : {-1, 0, 1, 3}) {
        EXPECT_FALSE(open(level, u"Phone:1234")) << level;
        EXPECT_EQ(0, port);
    }
    EXPECT_TRUE(questions.empty());
    EXPECT_TRUE(connected.empty());
    lock.release();

    EXPECT_TRUE(open(0, u"Phone:1234"));
    userSaysYes = false;
    EXPECT_FALSE(open(3, u"Phone:1234"));
    pluginPort = 0;
    EXPECT_FALSE(open(0, u"Phone:1234"));
    EXPECT_TRUE(lock.wait(0)) << "released on every way out";
    lock.release();
}

TEST_F(AccessCheck, DeviceCountsAsAcceptedWhenItsFourBytesReadAboveZero)
{
    struct value {
        const char16_t* id;
        uint32_t type;
        std::vector<uint8_t> data;
        bool accepted;
    };
    const std::vector<value> values = {
        {u"one", regkey::typeDword, {1, 0, 0, 0}, true},
        {u"zero", regkey::typeDword, {0, 0, 0, 0}, false},
        {u"minus", regkey::typeDword, {0xFF, 0xFF, 0xFF, 0xFF}, false},
        {u"binary", regkey::typeBinary, {2, 0, 0, 0}, true},
        {u"text", regkey::typeSz, {'1', 0, 0, 0}, true},
        {u"short", regkey::typeBinary, {1, 0}, false},
        {u"long", regkey::typeBinary, {1, 0, 0, 0, 0, 0, 0, 0}, false},
    };
    for (const value& v : values)
        store(v.id, v.type, v.data);
    for (const value& v : values) {
        questions.clear();
        const std::u16string name = std::u16string(u"Client:") + v.id;
        EXPECT_TRUE(open(1, name.c_str()));
        EXPECT_EQ(v.accepted, questions.empty()) << narrow(vcore::str(v.id));
    }
}

TEST_F(AccessCheck, DeviceIdFromTheNetworkStaysOneValueOfTheList)
{
    // No ':' in it: the client name is cut at its last one.
    const char16_t* hostile = u"x\"=\n\"y\"=\"1\"\n[SOFTWARE\\Injected]\n\"z\"=\"1\"\n;";
    const std::u16string name = std::u16string(u"Phone:") + hostile;
    EXPECT_TRUE(open(1, name.c_str()));
    EXPECT_TRUE(recordedAsOne(hostile));

    hub::deviceregistry fresh;
    EXPECT_TRUE(fresh.accepted(vcore::str(hostile)));
    EXPECT_FALSE(fresh.accepted(vcore::str(u"y")));
    regkey key;
    EXPECT_FALSE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Injected"));
}

} // namespace
