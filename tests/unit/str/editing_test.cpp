// Changing the text: growth, setting, appending, removing, cutting when fixed.
#include <gtest/gtest.h>

#include <string>

#include "vcore/str.h"

using vcore::str;

namespace {

TEST(StrGrowth, ReserveDoublesUntilTheCapacityExceedsTheRequest)
{
    str s;  // capacity 8
    EXPECT_EQ(s.reserve(7), 7);
    EXPECT_EQ(s.capacity(), 8);
    EXPECT_EQ(s.reserve(8), 8);
    EXPECT_EQ(s.capacity(), 16);
    EXPECT_EQ(s.reserve(100), 100);
    EXPECT_EQ(s.capacity(), 128);
}

TEST(StrGrowth, ReserveKeepsTheTextUnlessDiscarding)
{
    str s(u"keep");
    s.reserve(50);
    EXPECT_TRUE(s.equals(u"keep"));
    s.reserve(500, true);
    EXPECT_TRUE(s.empty());
}

TEST(StrGrowth, GrowingReplacesTheNarrowBufferAndMarksItStale)
{
    str s("abc");
    EXPECT_FALSE(s.flags() & str::flagStale);
    s.append(u"defghijklmnop");
    EXPECT_TRUE(s.flags() & str::flagStale);
    EXPECT_STREQ(s.narrow(), "abcdefghijklmnop");
    EXPECT_EQ(s.byteSize(), s.capacity() * 3);
}

TEST(StrGrowth, AFixedStringCutsEveryResultAtCapacityMinusOne)
{
    str s(8);
    s.setGrowable(false);
    EXPECT_EQ(s.reserve(20), 7);
    s.set(u"0123456789");
    EXPECT_TRUE(s.equals(u"0123456"));
    EXPECT_EQ(s.capacity(), 8);

    s.set(u"abcde");
    s.append(u"XYZ");
    EXPECT_TRUE(s.equals(u"abcdeXY"));

    s.set(u"abcde");
    s.prepend(u"123");
    EXPECT_TRUE(s.equals(u"123abcd"));

    s.prepend(u"0123456789");
    EXPECT_TRUE(s.equals(u"0123456"));

    s.assignNarrow("narrow text");
    EXPECT_TRUE(s.equals(u"narrow "));
    EXPECT_STREQ(s.narrow(), "narrow ");
    EXPECT_EQ(s.capacity(), 8);
}

TEST(StrEdit, SetAndAppendTreatAbsentTextsAsEmpty)
{
    str s(u"text");
    s.append(nullptr);
    EXPECT_TRUE(s.equals(u"text"));
    s.set(nullptr);
    EXPECT_TRUE(s.empty());
    EXPECT_TRUE(s.equals(nullptr));
    s.prepend(nullptr);
    EXPECT_TRUE(s.empty());
}

TEST(StrEdit, CountedSetAndAppendStopAtTheCountOrTheTerminator)
{
    str s;
    s.set(u"abcdef", 3);
    EXPECT_TRUE(s.equals(u"abc"));
    s.append(u"xy", 10);
    EXPECT_TRUE(s.equals(u"abcxy"));
    s.append(u"123456", 2);
    EXPECT_TRUE(s.equals(u"abcxy12"));
    s.append(u'!');
    EXPECT_TRUE(s.equals(u"abcxy12!"));
}

TEST(StrEdit, RepeatedAppendsGrowTheString)
{
    str s;
    std::u16string expected;
    for (int i = 0; i < 1000; ++i) {
        s.append(u"word ");
        expected += u"word ";
    }
    EXPECT_EQ(s.length(), 5000);
    EXPECT_TRUE(s.equals(expected.c_str()));
    EXPECT_EQ(s.capacity(), 8192);
}

TEST(StrEdit, PartsOfItselfCanBeSetAppendedAndPrepended)
{
    str s(u"abcdef");  // capacity 7: appending itself must grow first
    s.append(s.data());
    EXPECT_TRUE(s.equals(u"abcdefabcdef"));
    s.set(s.data() + 6);
    EXPECT_TRUE(s.equals(u"abcdef"));
    s.prepend(s.data() + 4);
    EXPECT_TRUE(s.equals(u"efabcdef"));
    s += s;
    EXPECT_TRUE(s.equals(u"efabcdefefabcdef"));
}

TEST(StrEdit, RemoveClampsCountAndIndex)
{
    str s(u"0123456789");
    s.remove(3, 2);
    EXPECT_TRUE(s.equals(u"0156789"));
    s.remove(3, -1);  // two units from index 0
    EXPECT_TRUE(s.equals(u"56789"));
    s.remove(100, 3);
    EXPECT_TRUE(s.equals(u"567"));
    s.remove(1, 3);
    EXPECT_TRUE(s.equals(u"567"));
    s.remove(0, 1);
    EXPECT_TRUE(s.equals(u"567"));
    s.remove(2, -5);
    EXPECT_TRUE(s.equals(u"567"));
}

TEST(StrEdit, RemoveCharsKeepsTheOrderOfTheRest)
{
    str s(u"a-b c-d\te");
    s.removeChars(u" -\t");
    EXPECT_TRUE(s.equals(u"abcde"));
    s.removeChars(nullptr);
    EXPECT_TRUE(s.equals(u"abcde"));
}

TEST(StrEdit, LoweringTouchesOnlyAsciiLetters)
{
    str s(u"Vol,UME 0,5 \u00c9");
    s.replaceDecimalComma();
    EXPECT_TRUE(s.equals(u"vol.ume 0.5 \u00c9"));
    str t(u"ABC,Z");
    t.toLower();
    EXPECT_TRUE(t.equals(u"abc,z"));
}

TEST(StrEdit, DirectWritesAreAdoptedBySyncLength)
{
    str s(32);
    const char16_t text[] = u"written";
    for (int i = 0; i < 8; ++i)
        s.data()[i] = text[i];
    s.syncLength();
    EXPECT_EQ(s.length(), 7);
    EXPECT_STREQ(s.narrow(), "written");

    // No terminator anywhere: the length stops before the last unit.
    for (int i = 0; i < s.capacity(); ++i)
        s.data()[i] = u'z';
    s.syncLength();
    EXPECT_EQ(s.length(), 31);
    EXPECT_EQ(s.data()[31], 0);
}

} // namespace
