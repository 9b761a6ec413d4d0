// The hub object's start-up and shutdown orders.
#include "hub/tolvanu.h"

#include <gtest/gtest.h>

#include "profile.h"
#include "vcore/regkey.h"

namespace {

TEST(TolvanuHub, BannerIsTheFirstLogLineAndTheLevelIsWrittenAtShutdown)
{
    scratchProfile profile;
    {
        vcore::regkey key;
        ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu", true));
        ASSERT_TRUE(key.writeDword(u"security", 3));
    }
    {
        Tolvanu hub;
        // The node's address lines follow it.
        EXPECT_LE(1u, hub.ring().counter());
        EXPECT_EQ(Tolvanu::banner(), hub.ring().slot(1));
        EXPECT_EQ(3, hub.level());
        hub.setLevel(0);
    }
    vcore::regkey key;
    uint32_t level = 99;
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu"));
    ASSERT_TRUE(key.readDword(u"security", level));
    EXPECT_EQ(0u, level);
}

} // namespace
