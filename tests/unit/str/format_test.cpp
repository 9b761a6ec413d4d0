// printf-style formatting into UTF-16.
#include <gtest/gtest.h>

#include <string>

#include "vcore/str.h"

using vcore::str;

namespace {

TEST(StrFormat, ProtocolLines)
{
    str s(1024);
    s.format(u"connect;%s;%s;%d;", u"media", u"10.66.0.1", 6638);
    EXPECT_TRUE(s.equals(u"connect;media;10.66.0.1;6638;"));
    s.format(u"media.volume %.2f", 0.5);
    EXPECT_TRUE(s.equals(u"media.volume 0.50"));
    s.format(u"%d.%d.%d.%d", 192, 168, 1, 20);
    EXPECT_TRUE(s.equals(u"192.168.1.20"));
    s.format(u"%02d:%02d", 3, 7);
    EXPECT_TRUE(s.equals(u"03:07"));
    EXPECT_EQ(s.length(), 5);
}

TEST(StrFormat, TextArgumentsWideNarrowAndSingleUnits)
{
    str s;
    s.format(u"[%s|%hs|%c|%%]", u"\u00e9t\u00e9", "caf\xe9", u'\u20ac');
    EXPECT_TRUE(s.equals(u"[\u00e9t\u00e9|caf\u00e9|\u20ac|%]"));
    s.format(u"<%5s><%-5s><%.2s><%*s><%-*s>", u"ab", u"ab", u"abcdef", 3, u"x", 3, u"y");
    EXPECT_TRUE(s.equals(u"<   ab><ab   ><ab><  x><y  >"));
    s.format(u"%s", static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(s.equals(u"(null)"));
}

TEST(StrFormat, NumbersOfEveryWidth)
{
    str s;
    s.format(u"%u %x %X %o %5d|%-4d|%+d", 4000000000u, 255, 255, 8, 42, 7, 5);
    EXPECT_TRUE(s.equals(u"4000000000 ff FF 10    42|7   |+5"));
    s.format(u"%ld %lld %I64d %lu", -5L, -9000000000LL, 9000000000LL, 6UL);
    EXPECT_TRUE(s.equals(u"-5 -9000000000 9000000000 6"));
    s.format(u"%hd %hhu %zu", 70000, 300, size_t(12));
    EXPECT_TRUE(s.equals(u"4464 44 12"));
    s.format(u"%e|%g|%.0f|%8.3f|%*d", 1500.0, 0.0001, 2.5, 3.14159, 4, 9);
    EXPECT_TRUE(s.equals(u"1.500000e+03|0.0001|2|   3.142|   9"));
}

TEST(StrFormat, UnknownConversionsAreCopied)
{
    str s;
    s.format(u"100%! done %");
    EXPECT_TRUE(s.equals(u"100%! done %"));
}

TEST(StrFormat, SmallStringsFirstGrowPastTwoHundredFiftySix)
{
    str s(8);
    s.format(u"%d", 1);
    EXPECT_EQ(s.capacity(), 512);
    EXPECT_TRUE(s.equals(u"1"));

    str fixed(30);
    fixed.setGrowable(false);
    fixed.format(u"x");
    EXPECT_EQ(fixed.capacity(), 30);
}

TEST(StrFormat, LongResultsGrowAGrowableString)
{
    const std::u16string title(3000, u't');
    str s(1024);
    const int32_t n = s.format(u"media.title %s (%d)", title.c_str(), 3000);
    EXPECT_EQ(n, 12 + 3000 + 7);
    EXPECT_EQ(s.length(), n);
    EXPECT_TRUE(s.mid(n - 7).equals(u" (3000)"));
    s.format(u"%5000d", 1);
    EXPECT_EQ(s.length(), 5000);
    EXPECT_EQ(s[4999], u'1');
}

TEST(StrFormat, LongResultsAreCutInAFixedString)
{
    const std::u16string title(1000, u't');
    str s(300);
    s.setGrowable(false);
    EXPECT_EQ(s.format(u"%s%s", title.c_str(), title.c_str()), 299);
    EXPECT_EQ(s.length(), 299);
    EXPECT_EQ(s.capacity(), 300);
    EXPECT_EQ(s.data()[299], 0);
    EXPECT_STREQ(s.narrow(), std::string(299, 't').c_str());
}

TEST(StrFormat, ArgumentsMayPointIntoTheTargetItself)
{
    str s(u"abc");  // capacity 4: formatting reallocates before writing
    s.format(u"%s-%s", s.data(), s.data());
    EXPECT_TRUE(s.equals(u"abc-abc"));
}

} // namespace

TEST(StrFormat, FormattedMakesAGrowableTextOfAnyLength)
{
    const vcore::str pad(std::u16string(400, u'x').c_str());
    const vcore::str text = vcore::str::formatted(u"connect;%s;%d;", pad.data(), 51000);
    EXPECT_EQ(text.length(), 8 + 400 + 1 + 5 + 1);
    EXPECT_TRUE(text.flags() & vcore::str::flagGrowable);
    EXPECT_EQ(text[text.length() - 6], u'5');
}
