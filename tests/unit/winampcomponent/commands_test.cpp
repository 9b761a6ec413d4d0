#include "plugins/winamp_component/winampipc.h"
#include "tests/unit/winampcomponent/sessionfixture.h"

using ::testing::ElementsAre;
namespace button = winamp::button;

TEST_F(ComponentSession, VolumeIsSetInWinampStepsAndReportedAtOnce)
{
    run(u"media.set_volume 50");
    EXPECT_EQ(model.get().volume, 127);
    EXPECT_THAT(take(), ElementsAre(u"media.volume 49.80"));

    run(u"media.add_volume 80");  // 127 + 204 clamps
    EXPECT_EQ(model.get().volume, 255);
    EXPECT_THAT(take(), ElementsAre(u"media.volume 100.00"));

    run(u"media.add_volume -500");
    EXPECT_EQ(model.get().volume, 0);
    run(u"media.set_volume abc");  // not a number: 0
    EXPECT_EQ(model.get().volume, 0);
}

TEST_F(ComponentSession, PositionCommandsJumpAndReport)
{
    model.change([](auto& s) { s.lengthMs = 200000; s.positionMs = 65000; });
    run(u"media.set_pos 50");
    EXPECT_EQ(model.get().positionMs, 100000);
    EXPECT_TRUE(sentReport(u"media.pos 50.00 1:40 3:20 -1:40"));
    take();

    run(u"media.add_pos -10.5");
    EXPECT_EQ(model.get().positionMs, 89500);
    EXPECT_TRUE(sentReport(u"media.pos 44.75 1:29 3:20 -1:50"));

    model.change([](auto& s) { s.lengthMs = 0; s.positionMs = 65000; });
    run(u"media.set_pos 50");  // length unknown: to the start
    EXPECT_EQ(model.get().positionMs, 0);
    model.change([](auto& s) { s.positionMs = 65000; });
    take();
    run(u"media.get_state");
    EXPECT_TRUE(sentReport(u"media.pos 0 1:05"));
}

TEST_F(ComponentSession, SetTrackPlaysTheEntryAndReportsIt)
{
    playlist({L"Alpha", L"Bravo", L"Charlie", L"Delta"}, 0);
    run(u"media.set_track 3");
    EXPECT_EQ(model.get().current, 3);
    EXPECT_THAT(model.pressed(), ElementsAre(button::play));
    EXPECT_TRUE(sentReport(u"media.title Delta"));
    EXPECT_TRUE(sentReport(u"media.track 3"));
    EXPECT_TRUE(sentReport(u"media.speed 1.0"));
}

TEST_F(ComponentSession, PlayPressesPlayWhenStoppedElsePause)
{
    run(u"media.play");
    run(u"MEDIA.PLAY");  // playing: pause
    model.change([](auto& s) { s.playState = 3; });
    run(u"media.play");  // paused: pause again
    run(u"media.stop");
    run(u"media.next");
    run(u"media.prev");
    run(u"media.pause");
    EXPECT_THAT(model.pressed(), ElementsAre(button::play, button::pause, button::pause, button::stop,
                                             button::next, button::prev, button::pause));
}

TEST_F(ComponentSession, ButtonsAreFollowedByAPoll)
{
    run(u"media.play");
    EXPECT_TRUE(sentReport(u"media.speed 1.0"));
    take();
    run(u"media.pause");
    EXPECT_THAT(take(), ::testing::Contains(u"media.speed 0.0"));
}

TEST_F(ComponentSession, ShuffleAndRepeatSetOrToggle)
{
    run(u"media.set_shuffle -1");
    EXPECT_EQ(model.get().shuffle, 1);
    run(u"media.set_shuffle -1");
    EXPECT_EQ(model.get().shuffle, 0);
    run(u"media.set_shuffle 5");
    EXPECT_EQ(model.get().shuffle, 1);
    EXPECT_THAT(take(), ElementsAre(u"media.shuffle 1", u"media.shuffle 0", u"media.shuffle 1"));

    run(u"media.set_repeat -7");
    run(u"media.set_repeat 1");  // unchanged: no report
    EXPECT_EQ(model.get().repeat, 1);
    EXPECT_THAT(take(), ElementsAre(u"media.repeat 1"));
}

TEST_F(ComponentSession, RatingsAreFifthsOfAHundred)
{
    playlist({L"Alpha", L"Bravo"}, 1);
    run(u"media.set_rating 0");
    run(u"media.set_rating 60");
    EXPECT_EQ(model.get().ratings[1], 3);
    run(u"media.set_rating 100");
    EXPECT_EQ(model.get().ratings[1], 5);
    EXPECT_THAT(take(), ElementsAre(u"media.rating 0", u"media.rating 60", u"media.rating 100"));

    run(u"media.set_rating 0");
    for (int i = 0; i < 6; ++i)
        run(u"media.inc_rating");
    EXPECT_THAT(take(), ElementsAre(u"media.rating 0", u"media.rating 20", u"media.rating 40", u"media.rating 60",
                                    u"media.rating 80", u"media.rating 100", u"media.rating 0"));
}

TEST_F(ComponentSession, SearchPrefersAMatchAfterTheCurrentEntry)
{
    std::vector<std::wstring> titles;
    for (int i = 0; i < 12; ++i)
        titles.push_back(L"Track " + std::to_wstring(i));
    titles[3] = L"Heart Beat";
    titles[9] = L"BEAT it";
    playlist(titles, 7);
    run(u"media.search beat");
    EXPECT_EQ(model.get().current, 9);
    run(u"media.search Beat");
    EXPECT_EQ(model.get().current, 3);
    run(u"media.search nothing");
    EXPECT_EQ(model.get().current, 3);
}

TEST_F(ComponentSession, SomeCommandsMatchOnlyInLowerCase)
{
    run(u"MEDIA.GET_STATE");
    run(u"Media.Set_Rating 60");
    run(u"MEDIA.GET_COMPLETE");
    run(u"media.Get_Shortlist 3");
    run(u"MEDIA.INC_RATING");
    EXPECT_TRUE(take().empty());
    run(u"MEDIA.SET_VOLUME 50");
    EXPECT_EQ(model.get().volume, 127);
}

TEST_F(ComponentSession, OnlyTheGreetingIsTakenFromThisHost)
{
    run(u"media.set_volume 10", true);
    run(u"media.get_state", true);
    EXPECT_EQ(model.get().volume, 255);
    EXPECT_TRUE(take().empty());
    run(u"media.init", true);
    EXPECT_THAT(take(), ElementsAre(u"media.app BENCH:Winamp"));
}

TEST_F(ComponentSession, GreetingNamingAnotherHostIsNotAnsweredAndResetsNothing)
{
    run(u"media.get_state");
    take();
    run(u"media.init 10.1.2.3");
    EXPECT_TRUE(take().empty());
    session.poll();
    EXPECT_TRUE(take().empty());  // nothing was forgotten

    run(u"media.init 10.0.0.2");
    EXPECT_THAT(take(), ElementsAre(u"media.app BENCH:Winamp"));
    session.poll();
    EXPECT_TRUE(sentReport(u"media.volume 100.00"));  // reset: reported again
}

TEST_F(ComponentSession, CloseAndDoneForgetTheStateAndTurnToBroadcast)
{
    run(u"media.get_state");
    run(u"media.close");
    EXPECT_EQ(out.broadcasts, 1);
    EXPECT_EQ(session.reported().lastVolume, -1.0);
    run(u"MEDIA.DONE");
    EXPECT_EQ(out.broadcasts, 2);
}
