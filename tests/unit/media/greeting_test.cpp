// Whether "media.init" is answered: only for this host's own addresses.
#include <gtest/gtest.h>

#include <string>

#include "plugins/common/mediagreeting.h"

using media::greetingAnswered;
using vcore::str;

namespace {

constexpr uint32_t own = 0xC0A80105;  // 192.168.1.5

bool isOwn(uint32_t address)
{
    return address == own;
}

TEST(MediaGreeting, EmptyLoopbackAndOwnAddressesAreAnswered)
{
    EXPECT_TRUE(greetingAnswered(str(), isOwn));
    EXPECT_TRUE(greetingAnswered(str(u"127.0.0.1"), isOwn));
    EXPECT_TRUE(greetingAnswered(str(u"192.168.1.5"), isOwn));
    EXPECT_TRUE(greetingAnswered(str(u"2130706433"), isOwn));   // 127.0.0.1 as a number
    EXPECT_TRUE(greetingAnswered(str(u"0x7F000001"), isOwn));
    EXPECT_TRUE(greetingAnswered(str(u"3232235781"), isOwn));   // 192.168.1.5, above the int range
    EXPECT_TRUE(greetingAnswered(str(u"0xC0A80105"), isOwn));
}

TEST(MediaGreeting, OtherHostsAndUnreadableTextsAreNot)
{
    EXPECT_FALSE(greetingAnswered(str(u"192.168.1.6"), isOwn));
    EXPECT_FALSE(greetingAnswered(str(u"localhost"), isOwn));    // names are never looked up
    EXPECT_FALSE(greetingAnswered(str(u"127.0.0.1.5"), isOwn));
    EXPECT_FALSE(greetingAnswered(str(u"300.0.0.1"), isOwn));
    EXPECT_FALSE(greetingAnswered(str(u"."), isOwn));
    EXPECT_FALSE(greetingAnswered(str(u"0"), [](uint32_t) { return true; }));
    EXPECT_FALSE(greetingAnswered(str(u"192.168.1.5"), nullptr));
    std::u16string huge(65536, u'1');
    EXPECT_FALSE(greetingAnswered(str(huge.c_str()), isOwn));
    huge[100] = u'.';
    EXPECT_FALSE(greetingAnswered(str(huge.c_str()), isOwn));
}

} // namespace
