#include <algorithm>

#include "tests/unit/winampcomponent/sessionfixture.h"

using ::testing::ElementsAre;

TEST_F(ComponentSession, PollReportsEverythingOnceThenOnlyChanges)
{
    playlist({L"Alpha", L"Bravo"}, 1);
    model.change([](auto& s) { s.playState = 1; s.lengthMs = 185000; s.positionMs = 65000; s.ratings[1] = 2; });
    session.poll();
    EXPECT_THAT(take(), ElementsAre(u"media.speed 1.0", u"media.shuffle 0", u"media.repeat 0", u"media.volume 100.00",
                                    u"media.title Bravo", u"media.track 1", u"media.pos 35.14 1:05 3:05 -2:00",
                                    u"media.rating 40"));
    session.poll();
    EXPECT_TRUE(take().empty());

    model.change([](auto& s) { s.volume = 0; s.playState = 3; });
    session.poll();
    EXPECT_THAT(take(), ElementsAre(u"media.speed 0.0", u"media.volume 0.00"));
}

TEST_F(ComponentSession, PollWaitsForTheStateLockAndSkipsWithoutIt)
{
    ASSERT_TRUE(lock.wait(0));
    session.poll();
    EXPECT_TRUE(take().empty());
    lock.release();
    session.poll();
    EXPECT_FALSE(take().empty());
}

TEST_F(ComponentSession, VolumeCommandReportIsNotRememberedSoThePollRepeatsIt)
{
    session.poll();
    take();
    run(u"media.set_volume 50");
    session.poll();
    EXPECT_THAT(take(), ElementsAre(u"media.volume 49.80", u"media.volume 49.80"));
}

TEST_F(ComponentSession, FullListIsPacedAndSentOnChangeOnly)
{
    playlist({L"Alpha", L"Bravo"}, 0);
    run(u"media.get_list");
    EXPECT_THAT(out.trail, ElementsAre(u"<yield>", u"media.list_start", u"<sleep>", u"media.list_title Alpha",
                                       u"<yield>", u"media.list_title Bravo", u"<yield>", u"media.list_end"));
    take();
    run(u"media.get_list");
    run(u"media.get_list 0");
    EXPECT_TRUE(take().empty());
    run(u"media.get_list 1");
    EXPECT_EQ(take().size(), 4u);

    model.change([](auto& s) { s.titles[1] = L"Bravissimo"; });  // same count, other last title
    run(u"media.get_list");
    EXPECT_EQ(take().size(), 4u);
    model.change([](auto& s) { s.titles.insert(s.titles.begin(), L"Zero"); s.titles.back() = L"Bravissimo"; });
    run(u"media.get_list");  // other count, same last title
    EXPECT_EQ(take().size(), 5u);
}

TEST_F(ComponentSession, CompleteSendsTheListOnlyWithoutArgument)
{
    playlist({L"Alpha"}, 0);
    run(u"media.get_complete x");
    auto withArgument = take();
    EXPECT_EQ(std::count(withArgument.begin(), withArgument.end(), u"media.list_start"), 0);
    run(u"media.get_complete");
    auto without = take();
    EXPECT_EQ(std::count(without.begin(), without.end(), u"media.list_start"), 1);
    EXPECT_EQ(without.front(), u"media.volume 100.00");
}

TEST_F(ComponentSession, ShortListCutsLongTitlesAndEndsEachWithATab)
{
    std::vector<std::wstring> titles;
    for (int i = 0; i < 20; ++i)
        titles.push_back(L"T" + std::to_wstring(i));
    titles[12] = std::wstring(100, L'x');
    playlist(titles, 18);
    run(u"media.get_shortlist 9");  // 18 - 3 = 15; 20 < 24: 11
    std::u16string expected = u"media.shortlist 11 T11\t" + std::u16string(80, u'x') + u"...\t";
    for (int i = 13; i < 20; ++i)
        expected += u"T" + std::u16string(1, u'0' + i / 10) + std::u16string(1, u'0' + i % 10) + u"\t";
    EXPECT_THAT(take(), ElementsAre(expected));

    playlist(titles, 1);
    run(u"media.get_shortlist 2");
    EXPECT_THAT(take(), ElementsAre(u"media.shortlist 1 T1\tT2\t"));
}

TEST_F(ComponentSession, NothingIsSentOrPressedWithoutAWindow)
{
    window.present = false;
    for (const char16_t* c : {u"media.set_volume 50", u"media.add_volume 1", u"media.set_pos 5", u"media.add_pos 5",
                              u"media.set_track 1", u"media.play", u"media.set_shuffle -1", u"media.set_rating 60",
                              u"media.inc_rating", u"media.get_complete", u"media.get_shortlist 5", u"media.search a",
                              u"media.get_title"})
        run(c);
    session.poll();
    EXPECT_TRUE(take().empty());
    EXPECT_TRUE(model.pressed().empty());
}
