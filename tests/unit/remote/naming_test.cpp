// The name a hub shows and the device id it remembers.
#include <gtest/gtest.h>

#include <string>

#include "scratch.h"
#include "tools/remote/clientname.h"
#include "tools/remote/deviceid.h"
#include "vcore/regkey.h"

namespace {

std::string bytes(const vcore::str& s)
{
    vcore::str copy(s);
    return copy.narrow();
}

// The hub's reading of the name: the device id follows the last ':'.
std::string deviceAtHub(const vcore::str& name)
{
    const std::string all = bytes(name);
    return all.substr(all.rfind(':') + 1);
}

TEST(RemoteClientName, TheHubFindsTheDeviceIdWhateverTheDisplayName)
{
    EXPECT_EQ("Phone:0a1b", bytes(remote::clientName(u"Phone", u"0a1b")));
    EXPECT_EQ("0a1b", deviceAtHub(remote::clientName(u"Kitchen tablet:dev", u"0a1b")));
    // ';' would end the field early; an empty name still leaves the hub something to show.
    EXPECT_EQ("DESKTOP:0a1b", bytes(remote::clientName(u"DESK;TOP", u"0a1b")));
    EXPECT_EQ("remote:0a1b", bytes(remote::clientName(u"", u"0a1b")));
}

TEST(RemoteDeviceId, IsMadeOnceAndThenKept)
{
    scratchRegistry registry;
    const vcore::str key = registry.path(u"Remote");
    bool stored = false;
    const vcore::str first = remote::deviceId(stored, key.data());
    ASSERT_TRUE(stored);
    EXPECT_EQ(16, first.length());
    EXPECT_TRUE(remote::usableDeviceId(first));
    const vcore::str again = remote::deviceId(stored, key.data());
    EXPECT_TRUE(stored);
    EXPECT_EQ(bytes(first), bytes(again));
}

TEST(RemoteDeviceId, ASpoiledIdIsReplaced)
{
    scratchRegistry registry;
    const vcore::str key = registry.path(u"Remote");
    {
        vcore::regkey settings;
        ASSERT_TRUE(settings.open(key, true));
        ASSERT_TRUE(settings.writeText(u"device", u"ab:cd"));
    }
    bool stored = false;
    const vcore::str id = remote::deviceId(stored, key.data());
    EXPECT_TRUE(stored);
    EXPECT_TRUE(remote::usableDeviceId(id));
    vcore::regkey settings;
    vcore::str kept;
    ASSERT_TRUE(settings.open(key) && settings.readText(u"device", kept));
    EXPECT_EQ(bytes(id), bytes(kept));
}

TEST(RemoteDeviceId, FreshIdsDiffer)
{
    EXPECT_NE(bytes(remote::newDeviceId()), bytes(remote::newDeviceId()));
    EXPECT_FALSE(remote::usableDeviceId(u""));
    EXPECT_FALSE(remote::usableDeviceId(u"a;b"));
}

} // namespace
