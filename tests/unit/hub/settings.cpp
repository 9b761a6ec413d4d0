// The settings rules of start and exit, through the hub's communication object.
#include <gtest/gtest.h>

#include <vector>

#include "hub/tolvanu_com.h"
#include "profile.h"
#include "vcore/regkey.h"

using vcore::regkey;

namespace {

constexpr const char16_t* hubKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu";
constexpr const char16_t* devicesKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\devices";

bool keyExists(const char16_t* path)
{
    regkey key;
    return key.open(path);
}

void store(const char16_t* name, uint32_t type, const std::vector<uint8_t>& data)
{
    regkey key;
    ASSERT_TRUE(key.open(hubKey, true));
    ASSERT_TRUE(key.writeRaw(name, type, data));
}

void addDevice(const char16_t* id)
{
    regkey key;
    ASSERT_TRUE(key.open(devicesKey, true));
    ASSERT_TRUE(key.writeDword(id, 1));
}

std::vector<uint8_t> storedLevel(uint32_t& type)
{
    regkey key;
    std::vector<uint8_t> data;
    if (!key.open(hubKey) || !key.readRaw(u"security", type, data))
        data.clear();
    return data;
}

class HubSettings : public ::testing::Test {
protected:
    scratchProfile profile;
};

TEST_F(HubSettings, FirstStartOnACleanProfileWritesMinusOne)
{
    ASSERT_FALSE(keyExists(hubKey));
    Tolvanu_Com com;
    com.start();
    EXPECT_TRUE(keyExists(hubKey)) << "created when the level is read";
    EXPECT_EQ(-1, com.level());
    uint32_t type = 0;
    EXPECT_TRUE(storedLevel(type).empty()) << "nothing written before exit";

    com.stop();
    EXPECT_EQ(std::vector<uint8_t>({0xFF, 0xFF, 0xFF, 0xFF}), storedLevel(type));
    EXPECT_EQ(regkey::typeDword, type);
}

TEST_F(HubSettings, LevelsAboveOneForgetTheDevicesAtExit)
{
    for (int32_t level : {-1, 0, 1, 2, 3, 4, 7}) {
        store(u"security", regkey::typeDword,
              {uint8_t(level), uint8_t(level >> 8), uint8_t(level >> 16), uint8_t(level >> 24)});
        addDevice(u"0042");
        {
            Tolvanu_Com com;
            com.start();
            EXPECT_EQ(level, com.level());
            com.stop();
        }
        EXPECT_EQ(level <= 1, keyExists(devicesKey)) << "level " << level;
        uint32_t type = 0;
        const std::vector<uint8_t> stored = storedLevel(type);
        ASSERT_EQ(4u, stored.size());
        EXPECT_EQ(uint32_t(level), stored[0] | stored[1] << 8 | stored[2] << 16 | uint32_t(stored[3]) << 24);
    }
}

TEST_F(HubSettings, LevelIsAnyFourByteValueAndIsWrittenOnce)
{
    store(u"security", regkey::typeBinary, {3, 0, 0, 0});
    Tolvanu_Com com;
    com.start();
    EXPECT_EQ(3, com.level());
    com.stop();
    com.setLevel(1);
    com.stop();
    uint32_t type = 0;
    EXPECT_EQ(std::vector<uint8_t>({3, 0, 0, 0}), storedLevel(type)) << "the second stop writes nothing";

    store(u"security", regkey::typeBinary, {2, 0});
    Tolvanu_Com shortValue;
    shortValue.start();
    EXPECT_EQ(-1, shortValue.level()) << "a value of another size is no level";
}

TEST_F(HubSettings, LevelChosenWhileRunningIsWrittenAtExit)
{
    addDevice(u"0042");
    Tolvanu_Com com;
    com.start();
    com.setLevel(2);
    com.stop();
    EXPECT_FALSE(keyExists(devicesKey));
    uint32_t type = 0;
    EXPECT_EQ(std::vector<uint8_t>({2, 0, 0, 0}), storedLevel(type));
}

} // namespace
