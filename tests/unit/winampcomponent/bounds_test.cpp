#include "plugins/winamp_component/playlist.h"
#include "tests/unit/winampcomponent/sessionfixture.h"

using ::testing::ElementsAre;

TEST_F(ComponentSession, ListCountsOutsideReasonAreBounded)
{
    model.change([](auto& s) { s.countOverride = true; s.countAnswer = -5; });
    run(u"media.get_list 1");
    EXPECT_THAT(take(), ElementsAre(u"media.list_start", u"media.list_end"));

    model.change([](auto& s) { s.countAnswer = 2000000000; });
    run(u"media.get_list 1");
    EXPECT_EQ(take().size(), size_t(winamp::maxListEntries) + 2);
    run(u"media.search zzz");  // scans at most the cap, finds nothing
    EXPECT_EQ(model.get().current, 0);
}

TEST_F(ComponentSession, NullAndOverlongTitlesAreReadSafely)
{
    playlist({std::wstring(5000, L'a'), L"b"}, 0);
    EXPECT_EQ(winamp::listTitle(window, 0).length(), winamp::maxTitleLength);
    EXPECT_EQ(winamp::listTitle(window, 7).length(), 0);  // null: beyond the list
    model.change([](auto& s) { s.nullTitles = true; });
    run(u"media.get_list 1");
    EXPECT_THAT(take(), ElementsAre(u"media.list_start", u"media.list_title ", u"media.list_title ", u"media.list_end"));
}

TEST_F(ComponentSession, ShortListCountsOutsideReason)
{
    std::vector<std::wstring> titles(3000, std::wstring(100, L'y'));
    playlist(titles, 10);
    run(u"media.get_shortlist -9");
    EXPECT_THAT(take(), ElementsAre(u"media.shortlist 13 "));

    run(u"media.get_shortlist 2147483647");
    auto sent = take();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_LT(sent[0].size(), size_t(winamp::maxReportBytes));
    EXPECT_EQ(sent[0].back(), u'\t');  // whole entries only
    EXPECT_EQ(sent[0].rfind(u"media.shortlist 0 ", 0), 0u);
}

TEST_F(ComponentSession, BadInputIsHarmless)
{
    playlist({L"\u00e9t\u00e9", L"\u65e5\u672c"}, 0);
    for (const char16_t* c : {u"", u" ", u"media.set_volume", u"media.set_volume 1e400", u"media.add_pos nan",
                              u"media.set_pos -1e300", u"media.set_track 99", u"media.set_track -4",
                              u"media.search \u00ff\u00fe", u"\u00ffmedia.play", u"media.set_rating -2147483648"})
        run(c);
    std::u16string huge = u"media.set_volume " + std::u16string(65536, u'9');
    run(huge.c_str());  // too large to be a number: reads as 0
    std::u16string hugeSearch = u"media.search " + std::u16string(65536, u'q');
    run(hugeSearch.c_str());
    EXPECT_EQ(model.get().volume, 0);
    take();
    run(u"media.get_state");
    EXPECT_TRUE(sentReport(u"media.volume 0.00"));
}

// Found by fuzzing: a rating answer far beyond 0..5 overflowed when turned into a percentage.
TEST_F(ComponentSession, RatingAnswersOutsideReasonAreReportedWithoutOverflow)
{
    playlist({L"a"}, 0);
    model.change([](auto& s) { s.ratings[0] = 2147483647; });
    run(u"media.get_state");
    EXPECT_TRUE(sentReport(u"media.rating 2147483647"));
    model.change([](auto& s) { s.ratings[0] = -2147483647 - 1; });
    run(u"media.get_state");
    EXPECT_TRUE(sentReport(u"media.rating -2147483648"));
    model.change([](auto& s) { s.ratings[0] = 3; });
    run(u"media.get_state");
    EXPECT_TRUE(sentReport(u"media.rating 60"));
}
