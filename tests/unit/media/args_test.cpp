// Reading command arguments as numbers and as on/off switches.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "plugins/common/mediaargs.h"
#include "plugins/common/wholenumber.h"

using media::argumentInt;
using media::argumentReal;
using media::switchArgument;
using vcore::str;

namespace {

TEST(MediaArgs, IntegersDecimalOrHexElseZero)
{
    EXPECT_EQ(argumentInt(str(u"0x10")), 16);
    EXPECT_EQ(argumentInt(str(u"12")), 12);
    EXPECT_EQ(argumentInt(str(u"-3")), -3);
    EXPECT_EQ(argumentInt(str(u"abc")), 0);
    EXPECT_EQ(argumentInt(str()), 0);
    EXPECT_EQ(argumentInt(str(u"99999999999999999999")), INT32_MAX);
}

TEST(MediaArgs, RealsAcceptCommaAndHexButNeverInfinityOrNaN)
{
    EXPECT_DOUBLE_EQ(argumentReal(str(u"12.5")), 12.5);
    EXPECT_DOUBLE_EQ(argumentReal(str(u"12,5")), 12.5);
    EXPECT_DOUBLE_EQ(argumentReal(str(u"0x10")), 16.0);
    EXPECT_DOUBLE_EQ(argumentReal(str(u"-5")), -5.0);
    EXPECT_DOUBLE_EQ(argumentReal(str(u"loud")), 0.0);
    EXPECT_DOUBLE_EQ(argumentReal(str(u"nan")), 0.0);
    EXPECT_DOUBLE_EQ(argumentReal(str(u"inf")), 0.0);
    EXPECT_DOUBLE_EQ(argumentReal(str(u"-1e999")), 0.0);
    std::u16string digits(65536, u'9');
    EXPECT_DOUBLE_EQ(argumentReal(str(digits.c_str())), 0.0);
}

TEST(MediaArgs, SwitchNegativeTogglesZeroOffElseOn)
{
    EXPECT_EQ(switchArgument(-1, 0), 1);
    EXPECT_EQ(switchArgument(-1, 1), 0);
    EXPECT_EQ(switchArgument(5, 0), 1);
    EXPECT_EQ(switchArgument(5, 1), 1);
    EXPECT_EQ(switchArgument(0, 1), 0);
    EXPECT_EQ(switchArgument(INT32_MIN, 0), 1);
}

TEST(MediaArgs, TruncationSaturates)
{
    EXPECT_EQ(media::truncatedInt(3.9), 3);
    EXPECT_EQ(media::truncatedInt(-3.9), -3);
    EXPECT_EQ(media::truncatedInt(1e300), INT32_MAX);
    EXPECT_EQ(media::truncatedInt(-1e300), INT32_MIN);
    EXPECT_EQ(media::truncatedInt(std::nan("")), 0);
}

} // namespace
