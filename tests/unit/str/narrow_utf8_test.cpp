// The narrow shadow copy and UTF-8 conversion.
#include <gtest/gtest.h>

#include <string>

#include "vcore/str.h"

using vcore::str;

namespace {

TEST(StrNarrow, IsRebuiltOnlyAfterAChange)
{
    str s(16);
    s.set(u"abc");
    EXPECT_STREQ(s.narrow(), "abc");
    EXPECT_FALSE(s.flags() & str::flagStale);
    EXPECT_TRUE(s.flags() & str::flagNarrow);
    const char* first = s.narrow();
    s.append(u"d");
    EXPECT_TRUE(s.flags() & str::flagStale);
    EXPECT_STREQ(s.narrow(), "abcd");
    EXPECT_EQ(first, s.narrow());  // same buffer while the capacity holds
}

TEST(StrNarrow, UnitsAboveByteRangeBecomeQuestionMarks)
{
    str s(u"caf\u00e9 \u20ac\u4e2d");
    EXPECT_STREQ(s.narrow(), "caf\xe9 ??");
}

TEST(StrNarrow, BytesRoundTripThroughTheText)
{
    str s("\x01\x7f\x80\xff");
    EXPECT_EQ(s[2], 0x80);
    EXPECT_EQ(s[3], 0xff);
    EXPECT_STREQ(s.narrow(), "\x01\x7f\x80\xff");
}

TEST(StrNarrow, SyncFromNarrowAdoptsBytesWrittenInPlace)
{
    str s(16);
    std::string written = "computer";
    written.copy(s.narrowData(), written.size());
    s.narrowData()[written.size()] = 0;
    s.syncFromNarrow();
    EXPECT_TRUE(s.equals(u"computer"));
    EXPECT_FALSE(s.flags() & str::flagStale);

    // Unterminated bytes up to the last one: the length stops at capacity - 1.
    std::string(16, 'q').copy(s.narrowData(), 16);
    s.syncFromNarrow();
    EXPECT_EQ(s.length(), 15);
}

TEST(StrNarrow, AssignNarrowKeepsTheBytesAsNarrowCopy)
{
    str s(10);
    s.assignNarrow("abc\xe9");
    EXPECT_EQ(s[3], u'\u00e9');
    EXPECT_FALSE(s.flags() & str::flagStale);
    EXPECT_STREQ(s.narrow(), "abc\xe9");
    s.assignNarrow("hello world", 5);
    EXPECT_TRUE(s.equals(u"hello"));
}

TEST(StrUtf8, EncodesOneTwoAndThreeByteForms)
{
    str s(u"\u00e9");
    EXPECT_EQ(s.toUtf8(), 2);
    EXPECT_EQ(s.length(), 2);
    EXPECT_EQ(s[0], 0xC3);
    EXPECT_EQ(s[1], 0xA9);
    EXPECT_STREQ(s.narrow(), "\xc3\xa9");

    str t(u"a\u20ac");
    t.toUtf8();
    EXPECT_STREQ(t.narrow(), "a\xe2\x82\xac");
    EXPECT_GE(t.capacity(), 6);
}

TEST(StrUtf8, RoundTripsEveryBasicUnit)
{
    std::u16string all;
    for (char32_t u = 1; u < 0x10000; u += 7)
        all += char16_t(u);
    str s(all.c_str());
    s.toUtf8();
    s.fromUtf8();
    EXPECT_TRUE(s.equals(all.c_str()));
}

TEST(StrUtf8, CharactersBeyondTheBasicPlaneTravelAsFourBytes)
{
    str s(u"a\U0001F600b");  // one surrogate pair
    EXPECT_EQ(s.toUtf8(), 6);
    EXPECT_STREQ(s.narrow(), "a\xf0\x9f\x98\x80" "b");
    s.fromUtf8();
    EXPECT_TRUE(s.equals(u"a\U0001F600b"));

    str highest(u"\U0010FFFF");
    highest.toUtf8();
    EXPECT_STREQ(highest.narrow(), "\xf4\x8f\xbf\xbf");
    highest.fromUtf8();
    EXPECT_TRUE(highest.equals(u"\U0010FFFF"));

    // The three-bytes-per-surrogate form still decodes to the same pair.
    str older("\xed\xa0\xbd\xed\xb8\x80");
    older.fromUtf8();
    EXPECT_TRUE(older.equals(u"\U0001F600"));
}

TEST(StrUtf8, LoneSurrogatesKeepThreeBytesAndComeBack)
{
    const char16_t lone[] = {u'x', 0xD83D, u'y', 0xDE00, 0};
    str s(lone);
    EXPECT_EQ(s.toUtf8(), 8);
    EXPECT_STREQ(s.narrow(), "x\xed\xa0\xbdy\xed\xb8\x80");
    s.fromUtf8();
    EXPECT_TRUE(s.equals(lone));
}

TEST(StrUtf8, FourByteFormsOutsideUnicodeBecomeReplacements)
{
    // Overlong U+0041 and U+FFFF, then 0x110000.
    for (const char* bytes : {"\xf0\x80\x81\x81", "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80"}) {
        str s(bytes);
        s.fromUtf8();
        ASSERT_EQ(s.length(), 1) << bytes;
        EXPECT_EQ(s[0], 0xFFFD) << bytes;
    }
}

TEST(StrUtf8, AFixedStringKeepsOnlyWholeCharacters)
{
    str s(6);
    s.setGrowable(false);
    s.set(u"ab\u20ac\u20ac");
    EXPECT_EQ(s.toUtf8(), 5);
    EXPECT_STREQ(s.narrow(), "ab\xe2\x82\xac");

    str pair(7);
    pair.setGrowable(false);
    pair.set(u"abc\U0001F600");
    EXPECT_EQ(pair.toUtf8(), 3) << "half a pair is never written";
    EXPECT_STREQ(pair.narrow(), "abc");
}

TEST(StrUtf8, DecodingAcceptsAnyBytes)
{
    str s("caf\xc3\xa9 \xe2\x82\xac");
    s.fromUtf8();
    EXPECT_TRUE(s.equals(u"caf\u00e9 \u20ac"));

    str loose("\xc3\x41\xe2\x41\x41");  // continuation bytes are not checked
    loose.fromUtf8();
    EXPECT_EQ(loose.length(), 2);
    EXPECT_EQ(loose[0], char16_t(0xC1));
    EXPECT_EQ(loose[1], char16_t(0x2041));
}

TEST(StrUtf8, ATruncatedSequenceAtTheEndIsNotReadPast)
{
    // Exact-size buffers: anything read past the end shows under AddressSanitizer.
    for (const char* bytes : {"ab\xe2\x82", "ab\xe2", "ab\xc3", "ab\xf0\x9f\x98"}) {
        str s(bytes);
        s.fromUtf8();
        EXPECT_EQ(s.length(), 3) << bytes;
        EXPECT_TRUE(s.mid(0, 2).equals(u"ab"));
        EXPECT_EQ(s[2], 0xFFFD);
    }
}

} // namespace
