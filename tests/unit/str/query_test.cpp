// Searching, slicing, comparing.
#include <gtest/gtest.h>

#include "vcore/str.h"

using vcore::str;

namespace {

TEST(StrFind, OneCharacterOrAnyOfSeveral)
{
    const str s(u"media.set_volume 0.5");
    EXPECT_EQ(s.find(0, u"."), 5);
    EXPECT_EQ(s.find(6, u"."), 18);
    EXPECT_EQ(s.find(0, u'_'), 9);
    EXPECT_EQ(s.find(0, u" _"), 9);
    EXPECT_EQ(s.find(10, u" _"), 16);
    EXPECT_EQ(s.find(-5, u"m"), 0);
    EXPECT_EQ(s.find(0, u"#"), -1);
    EXPECT_EQ(s.find(0, u""), -1);
    EXPECT_EQ(s.find(100, u"m"), -1);
}

TEST(StrFind, BackwardsSearches)
{
    const str s(u"C:\\music/album\\track.mp3");
    EXPECT_EQ(s.findLastOf(1000, u"\\/"), 14);
    EXPECT_EQ(s.findLastOf(14, u"\\/"), 14);
    EXPECT_EQ(s.findLastOf(13, u"\\/"), 8);
    EXPECT_EQ(s.findLastOf(1, u"\\/"), -1);
    EXPECT_EQ(s.findLastOf(-1, u"C"), -1);
    EXPECT_EQ(s.findLast(u'.'), 20);
    EXPECT_EQ(s.findLast(u'#'), -1);
    EXPECT_EQ(str().findLastOf(5, u"a"), -1);
}

TEST(StrMid, ClampsLikeRemove)
{
    const str s(u"0123456789");
    EXPECT_TRUE(s.mid(2, 3).equals(u"234"));
    EXPECT_TRUE(s.mid(8, 10).equals(u"89"));
    EXPECT_TRUE(s.mid(-2, 5).equals(u"012"));
    EXPECT_TRUE(s.mid(20, 5).empty());
    EXPECT_TRUE(s.mid(3, -1).empty());
    EXPECT_TRUE(s.mid(7).equals(u"789"));
    EXPECT_TRUE(str(s.mid(4, 2)).equals(u"45"));
}

TEST(StrCompare, EqualityAndOrderByCodeUnit)
{
    const str a(u"abc");
    EXPECT_TRUE(a.equals(u"abc"));
    EXPECT_FALSE(a.equals(u"abcd"));
    EXPECT_FALSE(a.equals(u"ab"));
    EXPECT_FALSE(a.equals(nullptr));
    EXPECT_TRUE(str().equals(nullptr));
    EXPECT_TRUE(str() == u"");
    EXPECT_TRUE(a == str("abc"));

    EXPECT_EQ(a.compare(str(u"abc")), 0);
    EXPECT_EQ(a.compare(str(u"abd")), -1);
    EXPECT_EQ(a.compare(str(u"ab")), 1);
    EXPECT_EQ(a.compare(u"abcd"), -1);
    EXPECT_EQ(a.compare(u"Abc"), 1);
    EXPECT_EQ(a.compare(nullptr), 1);
    EXPECT_EQ(str().compare(nullptr), 0);
    // Code-unit order, not a locale's: a surrogate sorts above U+E000.
    EXPECT_EQ(str(u"\xd83d").compare(u"\xe000"), -1);
}

TEST(StrSimilarity, WeighsEarlyPositionsMost)
{
    EXPECT_DOUBLE_EQ(str::similarity(u"Winamp", u"Winamp"), 1.0);
    EXPECT_DOUBLE_EQ(str::similarity(u"abc", u"abd"), (1000.0 + 666) / (1000 + 666 + 444));
    EXPECT_DOUBLE_EQ(str::similarity(u"ABC", u"abc"), 1.0);
    EXPECT_DOUBLE_EQ(str::similarity(u"xbc", u"abc"), (666.0 + 444) / (1000 + 666 + 444));
    EXPECT_DOUBLE_EQ(str::similarity(u"abcdef", u"ab"), 1.0);  // only the shorter length counts
    EXPECT_DOUBLE_EQ(str::similarity(u"", u"abc"), 0.0);
    EXPECT_DOUBLE_EQ(str::similarity(u"abc", nullptr), 0.0);
    EXPECT_DOUBLE_EQ(str(u"VLC media player").similarity(u"vlc"), 1.0);
}

} // namespace
