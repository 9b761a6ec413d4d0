// The console's address rows.
#include <gtest/gtest.h>

#include "hub/addresslist.h"

namespace {

TEST(AddressList, ALaterReportDifferingInAToZCaseMarksTheExistingRowCurrent)
{
    hub::addresslist list;
    list.report(vcore::str(u"VLC 10.0.0.9"));
    list.report(vcore::str(u"10.0.0.2"));
    list.report(vcore::str(u"vlc 10.0.0.9"));
    const std::vector<hub::addressrow> rows = list.rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_TRUE(rows[0].text == u"VLC 10.0.0.9") << "the first text is kept";
    EXPECT_TRUE(rows[0].current);
    EXPECT_FALSE(rows[1].current);
}

TEST(AddressList, CaseBeyondAToZMakesANewRow)
{
    hub::addresslist list;
    list.report(vcore::str(u"\u00c4 10.0.0.9"));
    list.report(vcore::str(u"\u00e4 10.0.0.9"));
    const std::vector<hub::addressrow> rows = list.rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_FALSE(rows[0].current);
    EXPECT_TRUE(rows[1].current);
}

} // namespace
