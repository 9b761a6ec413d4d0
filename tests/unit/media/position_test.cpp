// The "media.pos" report in its three forms.
#include <gtest/gtest.h>

#include "narrow.h"
#include "plugins/common/mediaposition.h"

using media::positionReport;
using media::threeDecimalPosition;
using media::vlcPosition;

namespace {

TEST(MediaPosition, ThreeMinutesFiveAtSixtyFiveSeconds)
{
    EXPECT_EQ(narrow(positionReport(65, 185, vlcPosition)), "media.pos 35.14 1:05 3:05 -2:00");
    EXPECT_EQ(narrow(positionReport(65, 185, threeDecimalPosition)), "media.pos 35.135 1:05 3:05 -2:00");
}

TEST(MediaPosition, TimeFieldsAreWholeSecondsTheShareIsNot)
{
    EXPECT_EQ(narrow(positionReport(65.9, 185.5, vlcPosition)), "media.pos 35.53 1:05 3:05 -2:00");
}

TEST(MediaPosition, ShortFormWhenTheLengthIsUnderOneSecond)
{
    EXPECT_EQ(narrow(positionReport(75, 0, vlcPosition)), "media.pos 0 1:15");
    EXPECT_EQ(narrow(positionReport(75, -1, vlcPosition)), "media.pos 0 1:15");
    EXPECT_EQ(narrow(positionReport(-1, -1, vlcPosition)), "media.pos 0 0:00");
    EXPECT_EQ(narrow(positionReport(75, 0.5, threeDecimalPosition)), "media.pos 0.000 1:15 0:00 -0:00");
}

TEST(MediaPosition, VlcClampsTheTimeFieldsButNotTheShare)
{
    EXPECT_EQ(narrow(positionReport(200, 100, vlcPosition)), "media.pos 200.00 1:40 1:40 -0:00");
    EXPECT_EQ(narrow(positionReport(-10, 100, vlcPosition)), "media.pos -10.00 0:00 1:40 -1:40");
    EXPECT_EQ(narrow(positionReport(200, 100, threeDecimalPosition)), "media.pos 200.000 3:20 1:40 -0:00");
}

TEST(MediaPosition, HugeValuesSaturate)
{
    const std::string report = narrow(positionReport(1e300, 1e300, vlcPosition));
    EXPECT_EQ(report.substr(0, 17), "media.pos 100.00 ");
    EXPECT_NE(report.find("35791394:07 35791394:07 -0:00"), std::string::npos) << report;
}

} // namespace
