// The play list as reports: full list and the short window.
#include <gtest/gtest.h>

#include <string>

#include "narrow.h"
#include "plugins/common/medialist.h"

using media::fullListReports;
using media::itunesTitleCut;
using media::shortListFirst;
using media::shortListReport;
using media::titleList;
using media::vlcTitleCut;
using vcore::str;

namespace {

titleList numbered(int n)
{
    titleList list;
    for (int i = 0; i < n; ++i) {
        str title;
        title.format(u"t%d", i);
        list.push_back(title);
    }
    return list;
}

TEST(MediaList, FullListIsStartTitlesEnd)
{
    const auto reports = fullListReports(numbered(2));
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(narrow(reports[0]), "media.list_start");
    EXPECT_EQ(narrow(reports[1]), "media.list_title t0");
    EXPECT_EQ(narrow(reports[2]), "media.list_title t1");
    EXPECT_EQ(narrow(reports[3]), "media.list_end");
    EXPECT_EQ(fullListReports(titleList()).size(), 2u);
}

TEST(MediaList, ShortListWindowStart)
{
    EXPECT_EQ(shortListFirst(1, 9, 20), 0);    // 1 - 3 is below 0
    EXPECT_EQ(shortListFirst(18, 9, 20), 11);  // 20 - 9
    EXPECT_EQ(shortListFirst(10, 9, 20), 7);
    EXPECT_EQ(shortListFirst(5, 9, 4), 0);     // list shorter than the window
    EXPECT_EQ(shortListFirst(-1, 9, 20), 0);
    EXPECT_GE(shortListFirst(INT32_MAX, INT32_MIN, 20), 0);
    EXPECT_EQ(shortListFirst(INT32_MAX, 0, INT32_MAX), INT32_MAX);
    EXPECT_EQ(shortListFirst(INT32_MAX, INT32_MAX, 20), 0);
}

TEST(MediaList, ShortListReportShowsTheWindowWithTabs)
{
    EXPECT_EQ(narrow(shortListReport(numbered(20), 18, 9, vlcTitleCut)),
              "media.shortlist 11 t11\tt12\tt13\tt14\tt15\tt16\tt17\tt18\tt19\t");
    EXPECT_EQ(narrow(shortListReport(numbered(3), 1, 9, vlcTitleCut)), "media.shortlist 0 t0\tt1\tt2\t");
    EXPECT_EQ(narrow(shortListReport(numbered(3), 1, 0, vlcTitleCut)), "media.shortlist 1 ");
    EXPECT_EQ(narrow(shortListReport(numbered(3), 1, -5, vlcTitleCut)), "media.shortlist 2 ");
    EXPECT_EQ(narrow(shortListReport(titleList(), 0, INT32_MAX, vlcTitleCut)), "media.shortlist 0 ");
    EXPECT_EQ(narrow(shortListReport(numbered(3), 50, 1, vlcTitleCut)), "media.shortlist 2 t2\t");
}

TEST(MediaList, LongTitlesAreCutPerConnector)
{
    titleList list{str(std::u16string(80, u'a').c_str()), str(std::u16string(81, u'b').c_str()),
                   str(std::u16string(61, u'c').c_str())};
    const std::string vlc = narrow(shortListReport(list, 0, 3, vlcTitleCut));
    EXPECT_EQ(vlc, "media.shortlist 0 " + std::string(80, 'a') + "\t" + std::string(80, 'b') + "..\t" +
                       std::string(61, 'c') + "\t");
    const std::string itunes = narrow(shortListReport(list, 0, 3, itunesTitleCut));
    EXPECT_EQ(itunes, "media.shortlist 0 " + std::string(60, 'a') + "...\t" + std::string(60, 'b') +
                          "...\t" + std::string(60, 'c') + "...\t");
}

} // namespace
