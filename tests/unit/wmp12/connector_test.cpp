// The connector against the stand-in player: availability, the session, each command group and
// the reports they send, and the poll.
#include <algorithm>

#include "vcore/computername.h"

#include "wmpfixture.h"

using namespace wmptest;
using strings = std::vector<std::string>;

namespace {

class Availability : public WmpTest {};

TEST_F(Availability, WithoutTheSkinHostWindowNothingIsMadeAndTheAnswerComesAtOnce)
{
    ASSERT_TRUE(skinHost(false));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(session->present());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(session->connectSession(), 0u);
    EXPECT_EQ(seen().objects, 0);
    EXPECT_FALSE(player().remote);
}

TEST_F(Availability, VersionsBelowTwelveAreRefusedAndTheControlLetGo)
{
    version(L"11.0.6001.7000");
    EXPECT_FALSE(session->present());
    EXPECT_FALSE(session->attached());
    EXPECT_EQ(seen().objects, 0);
    version(L"12.0.7601.17514");
    EXPECT_TRUE(session->present());
    EXPECT_TRUE(session->attached());
    EXPECT_TRUE(player().remote) << "attached in remote mode";
}

TEST_F(Availability, AControlThatFailsItsCallsIsNotAvailable)
{
    player().failing = true;
    EXPECT_FALSE(session->present());
    EXPECT_EQ(session->connectSession(), 0u);
}

class Session : public WmpTest {};

TEST_F(Session, ASecondConnectMakesThePlayerAgainAndKeepsThePort)
{
    connectWithPlaylist();
    const uint32_t port = session->portNumber();
    EXPECT_EQ(session->connectSession(), port);
    EXPECT_TRUE(session->attached());
    clearReports();
    session->closeSession();
    EXPECT_EQ(reports(), strings{"media.close"});
    EXPECT_FALSE(session->attached());
    EXPECT_EQ(seen().objects, 0);
}

TEST_F(Session, StoredValuesOutliveTheSession)
{
    connectWithPlaylist();
    player().volume = 40;
    run(u"media.get_state");
    session->closeSession();
    ASSERT_NE(session->connectSession(), 0u);
    run(u"media.set_pos", u"50");
    EXPECT_DOUBLE_EQ(player().position, 100.0) << "the duration stored in the first session";
}

class Transport : public WmpTest {};

TEST_F(Transport, PlayTogglesOnThePlayStateAndReportsTheSpeed)
{
    connectWithPlaylist();
    player().playState = 3;
    EXPECT_EQ(run(u"media.play"), strings{"media.speed 0.0"});
    EXPECT_EQ(player().pauses, 1);
    EXPECT_EQ(run(u"media.play"), strings{"media.speed 1.0"});
    EXPECT_EQ(player().plays, 1);
    EXPECT_EQ(run(u"media.stop"), strings{"media.speed 0.0"});
    EXPECT_EQ(player().stops, 1);
    EXPECT_TRUE(run(u"media.next").empty());
    EXPECT_TRUE(run(u"media.prev").empty());
    EXPECT_EQ(player().nexts, 1);
    EXPECT_EQ(player().previouses, 1);
}

TEST_F(Transport, SetTrackPutsTheItemAndPlaysIt)
{
    connectWithPlaylist();
    EXPECT_TRUE(run(u"media.set_track", u"2").empty());
    EXPECT_EQ(player().current, 2);
    EXPECT_EQ(player().plays, 1);
    EXPECT_EQ(player().playState, 3);
}

TEST_F(Transport, ShuffleAndRepeatToggleOnNegativeAndSwitchOtherwise)
{
    connectWithPlaylist();
    EXPECT_EQ(run(u"media.set_shuffle", u"-1"), (strings{"media.speed 0.0", "media.shuffle 1"}));
    EXPECT_TRUE(player().shuffle);
    EXPECT_EQ(run(u"media.set_shuffle", u"-1"), (strings{"media.speed 0.0", "media.shuffle 0"}));
    EXPECT_FALSE(player().shuffle);
    run(u"media.set_shuffle", u"5");
    EXPECT_TRUE(player().shuffle);
    run(u"media.set_shuffle", u"0");
    EXPECT_FALSE(player().shuffle);

    EXPECT_TRUE(contains(run(u"media.set_repeat", u"-1"), "media.repeat 1"));
    EXPECT_TRUE(player().loop);
    EXPECT_TRUE(contains(run(u"media.set_repeat", u"-1"), "media.repeat 0"));
    run(u"media.set_repeat", u"5");
    EXPECT_TRUE(player().loop);
    EXPECT_FALSE(player().shuffle) << "the other mode is left alone";
}

class Reports : public WmpTest {};

TEST_F(Reports, VolumeIsSetAddedAndReported)
{
    connectWithPlaylist();
    EXPECT_EQ(run(u"media.set_volume", u"35"), strings{"media.volume 35.00"});
    EXPECT_EQ(player().volume, 35);
    EXPECT_EQ(run(u"media.add_volume", u"10"), strings{"media.volume 45.00"});
    EXPECT_EQ(run(u"media.add_volume", u"-80"), strings{"media.volume 0.00"}) << "the player clamps";
}

TEST_F(Reports, SetPosIsAPercentageOfTheStoredDuration)
{
    connectWithPlaylist();
    player().position = 20;
    run(u"media.set_pos", u"50");
    EXPECT_DOUBLE_EQ(player().position, 0.0) << "no duration stored before a position report";
    run(u"media.get_state");
    EXPECT_EQ(run(u"media.set_pos", u"50"), (strings{"media.pos 50.000 1:40 3:20 -1:40", "media.title Artist A - One"}))
        << "a forced report sends the title too";
    EXPECT_DOUBLE_EQ(player().position, 100.0);
    run(u"media.add_pos", u"-30.5");
    EXPECT_DOUBLE_EQ(player().position, 69.5);
}

TEST_F(Reports, TitlesShowTheArtistOnlyWhenBothAreThere)
{
    connectWithPlaylist();
    EXPECT_TRUE(contains(run(u"media.get_state"), "media.title Artist A - One"));
    player().current = 1;
    EXPECT_TRUE(contains(run(u"media.get_state"), "media.title Two"));
    player().current = 2;
    EXPECT_TRUE(contains(run(u"media.get_state"), "media.title Artist C"));
}

TEST_F(Reports, TheFullListAndTheTrackOfTheTitlePlaying)
{
    connectWithPlaylist();
    player().current = 1;
    run(u"media.get_state");
    EXPECT_EQ(run(u"media.get_list"), (strings{"media.list_start", "media.list_title Artist A - One",
                                               "media.list_title Two", "media.list_title Artist C",
                                               "media.list_end", "media.track 1"}));
}

TEST_F(Reports, ATitleTwiceInTheListReportsTheOtherEntry)
{
    addItem(L"X", L"Same", 100);
    addItem(L"Y", L"Other", 100);
    addItem(L"X", L"Same", 100);
    ASSERT_NE(session->connectSession(), 0u);
    EXPECT_TRUE(contains(run(u"media.get_complete"), "media.track 2")) << "the last match of the list wins";
    EXPECT_TRUE(contains(run(u"media.get_state"), "media.track 0")) << "the search skips the current track";
}

TEST_F(Reports, ShortListModeSendsOnlyTheTrackAndCutsLongTitles)
{
    const std::wstring longTitle(100, L'L');
    addItem(L"", L"One", 10);
    addItem(L"", longTitle.c_str(), 10);
    addItem(L"", L"Three", 10);
    ASSERT_NE(session->connectSession(), 0u);
    EXPECT_TRUE(run(u"media.get_shortlist", u"2").empty()) << "not in short-list mode";

    const strings complete = run(u"media.get_complete", u"x");
    EXPECT_EQ(complete.back(), "media.track 0");
    EXPECT_FALSE(contains(complete, "media.list_start"));
    const std::string cut = std::string(80, 'L') + "..";
    EXPECT_EQ(run(u"media.get_shortlist", u"2"), strings{"media.shortlist 0 One\t" + cut + "\t"});
    EXPECT_EQ(run(u"media.get_shortlist", u"10"), strings{"media.shortlist 0 One\t" + cut + "\tThree\t"});
}

TEST_F(Reports, GreetingsAreAnsweredOnlyForThisHost)
{
    connectWithPlaylist();
    EXPECT_TRUE(run(u"media.init", u"10.0.0.9").empty());
    const strings answer = run(u"media.init");
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0], "media.app " + narrow(vcore::computerName()) + ":WMP12");
    EXPECT_EQ(run(u"media.init", u"127.0.0.1"), answer);
}

class Polling : public WmpTest {};

TEST_F(Polling, StartsOnlyAfterAStateRequest)
{
    connectWithPlaylist();
    ASSERT_TRUE(waitFor([&] { return session->timeOuts >= 2; })) << "the 990 ms time-out runs";
    EXPECT_EQ(session->polls, 0);
    EXPECT_FALSE(session->polling());

    run(u"media.set_volume", u"20");
    EXPECT_FALSE(session->polling()) << "only the media.get_ commands start it";
    run(u"media.get_state");
    EXPECT_TRUE(session->polling());
    clearReports();
    player().volume = 60;
    EXPECT_TRUE(waitForReport("media.volume 60.00"));
    player().current = 1;
    EXPECT_TRUE(waitForReport("media.title Two"));

    session->closeSession();
    EXPECT_TRUE(session->polling()) << "never cleared";
}

} // namespace
