// How strings start out: capacities, flags, copies and moves.
#include <gtest/gtest.h>

#include <string>

#include "vcore/str.h"

using vcore::str;

namespace {

constexpr uint32_t stale = str::flagStale, growable = str::flagGrowable, narrow = str::flagNarrow;

TEST(StrConstruction, EachSourceGivesItsCapacityAndFlags)
{
    const str none;
    EXPECT_EQ(none.capacity(), 8);
    EXPECT_EQ(none.flags(), stale | growable);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.data()[0], 0);

    const str wide(u"hello");
    EXPECT_EQ(wide.capacity(), 6);
    EXPECT_EQ(wide.flags(), stale | growable);
    EXPECT_TRUE(wide.equals(u"hello"));

    const str bytes("caf\xe9");
    EXPECT_EQ(bytes.capacity(), 5);
    EXPECT_EQ(bytes.flags(), growable | narrow);
    EXPECT_EQ(bytes[3], u'\u00e9');

    const str noBytes(static_cast<const char*>(nullptr));
    EXPECT_EQ(noBytes.capacity(), 8);
    EXPECT_TRUE(noBytes.empty());

    EXPECT_EQ(str(1024).capacity(), 1024);
    EXPECT_EQ(str(1024).flags(), stale | growable | narrow);
    EXPECT_EQ(str(0).capacity(), 64);
    EXPECT_EQ(str::buffer(0).capacity(), 256);
    EXPECT_EQ(str::buffer(100).capacity(), 100);
}

TEST(StrConstruction, FromViewsCopyExactlyTheirUnits)
{
    const char16_t text[] = u"alpha;beta";
    const str field(vcore::strview(text + 6, 4));
    EXPECT_EQ(field.capacity(), 5);
    EXPECT_EQ(field.flags(), stale | growable | narrow);
    EXPECT_TRUE(field.equals(u"beta"));

    const str counted(text, 5);
    EXPECT_TRUE(counted.equals(u"alpha"));
    EXPECT_EQ(counted.capacity(), 6);

    const str whole(text, -1);
    EXPECT_EQ(whole.capacity(), 256);
    EXPECT_TRUE(whole.equals(text));
}

TEST(StrConstruction, CopyKeepsCapacityAndMarksNarrowStale)
{
    str original("abc");  // narrow copy current
    original.reserve(40);
    const str copy(original);
    EXPECT_EQ(copy.capacity(), original.capacity());
    EXPECT_EQ(copy.flags(), original.flags() | stale);
    EXPECT_TRUE(copy.equals(original));
    EXPECT_NE(copy.data(), original.data());
}

TEST(StrConstruction, MoveLeavesAUsableEmptySource)
{
    str a(u"moved text");
    const char16_t* buffer = a.data();
    str b(std::move(a));
    EXPECT_EQ(b.data(), buffer);
    EXPECT_TRUE(b.equals(u"moved text"));
    a.append(u"again");  // NOLINT(bugprone-use-after-move): moved-from strings stay valid
    EXPECT_TRUE(a.equals(u"again"));

    str c;
    c = std::move(b);
    EXPECT_TRUE(c.equals(u"moved text"));

    str d(u"x");
    d = c;
    EXPECT_TRUE(d.equals(u"moved text"));
    d = d;
    EXPECT_TRUE(d.equals(u"moved text"));
}

TEST(StrConstruction, TextsOfSixtyFourKUnitsAndMoreAreAccepted)
{
    const std::u16string big(70000, u'x');
    str s(big.c_str());
    EXPECT_EQ(s.length(), 70000);
    EXPECT_EQ(s.capacity(), 70001);
    s.append(u"!");
    EXPECT_EQ(s.length(), 70001);
    EXPECT_EQ(s[70000], u'!');
    EXPECT_EQ(s.data()[70001], 0);

    const str viewed(vcore::strview(big.data(), 65535));
    EXPECT_EQ(viewed.length(), 65535);
}

TEST(StrConstruction, ByteSizeCountsTheNarrowBuffer)
{
    str s(u"abc");
    EXPECT_EQ(s.byteSize(), 4 * 2);
    s.narrow();
    EXPECT_EQ(s.byteSize(), 4 * 3);
    EXPECT_EQ(str(100).byteSize(), 300);
}

} // namespace
