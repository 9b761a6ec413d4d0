// Text to numbers.
#include <gtest/gtest.h>

#include "vcore/str.h"

using vcore::str;

namespace {

TEST(StrToInt, DecimalOrHexWithTrailingTextIgnored)
{
    EXPECT_EQ(str(u"42").toInt(), 42);
    EXPECT_EQ(str(u"-17 dB").toInt(), -17);
    EXPECT_EQ(str(u"0x1F").toInt(), 31);
    EXPECT_EQ(str(u"0xFFFFFFFF").toInt(), -1);
    EXPECT_EQ(str(u"abc").toInt(), 0);
    EXPECT_EQ(str().toInt(), 0);
}

TEST(StrToInt, OutOfRangeSaturatesAsA32BitConversion)
{
    EXPECT_EQ(str(u"3000000000").toInt(), INT32_MAX);
    EXPECT_EQ(str(u"-3000000000").toInt(), INT32_MIN);
    EXPECT_EQ(str(u"0x123456789").toInt(), -1);
}

TEST(StrToReal, CommaHexAndTrailingText)
{
    EXPECT_DOUBLE_EQ(str(u"0,25").toReal(), 0.25);
    EXPECT_DOUBLE_EQ(str(u"0.5").toReal(), 0.5);
    EXPECT_DOUBLE_EQ(str(u"0x1F").toReal(), 31.0);
    EXPECT_DOUBLE_EQ(str(u"0x100000000").toReal(), 4294967296.0);  // long enough for 64 bits
    EXPECT_DOUBLE_EQ(str(u"12abc").toReal(), 12.0);
    EXPECT_DOUBLE_EQ(str(u"-1.5e2").toReal(), -150.0);
    EXPECT_DOUBLE_EQ(str(u"none").toReal(), 0.0);
}

TEST(StrEvaluate, LeftToRightWithoutPrecedence)
{
    EXPECT_DOUBLE_EQ(str(u"(3)").evaluate(), 3.0);
    EXPECT_DOUBLE_EQ(str(u"1+2*3").evaluate(), 9.0);
    EXPECT_DOUBLE_EQ(str(u"10-4/2").evaluate(), 3.0);
    EXPECT_DOUBLE_EQ(str(u" [0,5*4] ").evaluate(), 2.0);
}

TEST(StrEvaluate, ComparisonsGiveOneOrZero)
{
    EXPECT_DOUBLE_EQ(str(u"2<3").evaluate(), 1.0);
    EXPECT_DOUBLE_EQ(str(u"3<3").evaluate(), 0.0);
    EXPECT_DOUBLE_EQ(str(u"3<=3").evaluate(), 1.0);
    EXPECT_DOUBLE_EQ(str(u"2>=3").evaluate(), 0.0);
    EXPECT_DOUBLE_EQ(str(u"4>3").evaluate(), 1.0);
    EXPECT_DOUBLE_EQ(str(u"3==3").evaluate(), 1.0);
    EXPECT_DOUBLE_EQ(str(u"3!=3").evaluate(), 0.0);
    EXPECT_DOUBLE_EQ(str(u"3=7").evaluate(), 7.0);
    EXPECT_DOUBLE_EQ(str(u"3!7").evaluate(), 7.0);
}

TEST(StrEvaluate, StopsOrSkipsWhereItCannotRead)
{
    EXPECT_DOUBLE_EQ(str(u"5/0").evaluate(), 5.0);
    EXPECT_DOUBLE_EQ(str(u"1 + 2").evaluate(), 1.0);  // the blank is taken as the operator
    EXPECT_DOUBLE_EQ(str(u"7+").evaluate(), 7.0);
    EXPECT_DOUBLE_EQ(str(u"7+abc1").evaluate(), 7.0);
    EXPECT_DOUBLE_EQ(str(u"7%2").evaluate(), 7.0);
    EXPECT_DOUBLE_EQ(str(u"8+0x10").evaluate(), 24.0);
    EXPECT_DOUBLE_EQ(str(u"").evaluate(), 0.0);
}

} // namespace
