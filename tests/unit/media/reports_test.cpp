// Report texts: speed wordings per connector style and the simple state reports.
#include <gtest/gtest.h>

#include "narrow.h"
#include "plugins/common/mediareports.h"

using namespace media;
using vcore::str;

namespace {

TEST(MediaReports, SpeedWordingPerConnectorStyle)
{
    EXPECT_EQ(narrow(speedReport(speedOfPlayState(1))), "media.speed 1.0");
    EXPECT_EQ(narrow(speedReport(speedOfPlayState(0))), "media.speed 0.0");
    EXPECT_EQ(narrow(speedReport(speedOfPlayState(-1))), "media.speed 0");

    EXPECT_EQ(narrow(speedReport(speedOfPlaying(true))), "media.speed 1.0");
    EXPECT_EQ(narrow(speedReport(speedOfPlaying(false))), "media.speed 0.0");

    EXPECT_EQ(narrow(speedReport(speedOfStopped(false))), "media.speed 1.0");
    EXPECT_EQ(narrow(speedReport(speedOfStopped(true))), "media.speed 0.0");
}

TEST(MediaReports, NumbersAndTexts)
{
    EXPECT_EQ(narrow(volumeReport(50)), "media.volume 50.00");
    EXPECT_EQ(narrow(volumeReport(58.59375)), "media.volume 58.59");
    EXPECT_EQ(narrow(trackReport(-1)), "media.track -1");
    EXPECT_EQ(narrow(shuffleReport(1)), "media.shuffle 1");
    EXPECT_EQ(narrow(repeatReport(0)), "media.repeat 0");
    EXPECT_EQ(narrow(ratingReport(80)), "media.rating 80");
    EXPECT_EQ(narrow(appReport(str(u"DESK"), u"VLC")), "media.app DESK:VLC");
    EXPECT_EQ(narrow(closeReport()), "media.close");
}

TEST(MediaReports, TitleKeepsEveryUnitIncludingPercentSigns)
{
    // UTF-8 bytes of "é", one unit each, and a '%' that must not be taken as a format.
    const char16_t title[] = {u'C', 0xC3, 0xA9, u' ', u'%', u's', 0};
    const str report = titleReport(str(title));
    ASSERT_EQ(report.length(), 18);
    EXPECT_EQ(report[13], 0xC3);
    EXPECT_EQ(narrow(str(report.mid(12))), std::string("C\xC3\xA9 %s"));
}

} // namespace
