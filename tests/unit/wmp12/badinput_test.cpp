// Arguments a client gets wrong, playlists out of bounds, and a control that fails or hangs:
// no crash, nothing played that should not be, and no wait past the connector's bounds.
#include "wmpfixture.h"

using namespace wmptest;
using strings = std::vector<std::string>;

namespace {

class BadInput : public WmpTest {};

TEST_F(BadInput, NumbersThatAreNotNumbersReadAsZero)
{
    connectWithPlaylist();
    player().volume = 50;
    EXPECT_EQ(run(u"media.set_volume", u"loud"), strings{"media.volume 0.00"});
    EXPECT_EQ(run(u"media.set_volume", u"1e400"), strings{"media.volume 0.00"}) << "an infinity reads as 0";
    EXPECT_EQ(run(u"media.set_volume", u"1e30"), strings{"media.volume 100.00"}) << "the player clamps";
    run(u"media.get_state");
    run(u"media.set_pos");
    EXPECT_DOUBLE_EQ(player().position, 0.0);
    run(u"media.set_pos", u"-1e30");
    EXPECT_LE(player().position, 0.0) << "sent on as it came, in single precision";
    EXPECT_TRUE(run(u"media.volume", u"3").empty()) << "a report name is no command";
    EXPECT_TRUE(run(u"").empty());
}

TEST_F(BadInput, TracksOutsideThePlaylistPlayNothing)
{
    connectWithPlaylist();
    for (const char16_t* index : {u"3", u"-1", u"2147483647", u"-2147483648", u"99999999999"})
        run(u"media.set_track", index);
    EXPECT_EQ(player().itemPuts, 0);
    EXPECT_EQ(player().plays, 0);
    run(u"media.set_track", u"");
    EXPECT_EQ(player().itemPuts, 1) << "a missing index reads as 0";
    EXPECT_EQ(player().current, 0);
}

TEST_F(BadInput, ShortListsOfAnyLength)
{
    connectWithPlaylist();
    run(u"media.get_complete", u"x");
    EXPECT_EQ(run(u"media.get_shortlist", u"-5"), strings{"media.shortlist 0 "});
    EXPECT_EQ(run(u"media.get_shortlist", u"0"), strings{"media.shortlist 0 "});
    EXPECT_EQ(run(u"media.get_shortlist", u"2147483647"),
              strings{"media.shortlist 0 Artist A - One\tTwo\tArtist C\t"});
    EXPECT_EQ(run(u"media.get_shortlist", u"-2147483648"), strings{"media.shortlist 0 "});
}

TEST_F(BadInput, PlaylistCountsOutOfRangeAndEndlessTitles)
{
    const std::wstring endless(200000, L'e');
    addItem(L"", endless.c_str(), 10);
    ASSERT_NE(session->connectSession(), 0u);
    const std::string cut(size_t(Tolvanu_WMP::maxTitleLength), 'e');
    EXPECT_TRUE(contains(run(u"media.get_state"), "media.title " + cut));

    player().countOverridden = true;
    player().countOverride = -5;
    EXPECT_EQ(run(u"media.get_list"), (strings{"media.list_start", "media.list_end"}));
    player().countOverride = 2000000000;
    const auto start = std::chrono::steady_clock::now();
    const strings listed = run(u"media.get_list");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2000ms) << "the count is capped";
    ASSERT_EQ(listed.size(), 4u) << "start, the one entry there is, end, track";
    EXPECT_EQ(listed[1], "media.list_title " + cut);
}

TEST_F(BadInput, AControlThatFailsEveryCallAnswersZerosAndNothingElse)
{
    connectWithPlaylist();
    player().failing = true;
    for (const char16_t* command : {u"media.set_volume", u"media.add_pos", u"media.set_track", u"media.play",
                                    u"media.next", u"media.set_shuffle", u"media.get_list", u"media.get_shortlist"})
        run(command, u"1");
    EXPECT_EQ(player().plays + player().pauses + player().nexts + player().itemPuts, 0);
    EXPECT_EQ(run(u"media.get_state"), (strings{"media.volume 0.00", "media.speed 0.0"}))
        << "no media item, so no position or title";
    player().failing = false;
    EXPECT_TRUE(contains(run(u"media.get_state"), "media.title Artist A - One")) << "and it comes back";
}

TEST_F(BadInput, AControlThatHangsHoldsNoCallerPastTheBounds)
{
    connectWithPlaylist();
    player().stallMs = 5000;
    auto start = std::chrono::steady_clock::now();
    run(u"media.play");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms);
    ASSERT_TRUE(skinHost(false));
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(session->present());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << "no player: answered without the busy thread";
    // Queued behind the hanging call, so the release can never overlap it.
    start = std::chrono::steady_clock::now();
    session->closeSession();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms);
    player().stallMs = 0;
    EXPECT_TRUE(waitFor([&] { return seen().objects == 0; }, 20000ms)) << "released once the call returned";
    EXPECT_FALSE(session->attached());
}

} // namespace

namespace {

TEST_F(BadInput, PollingGoesOnOnceAHangingControlAnswersAgain)
{
    connectWithPlaylist();
    run(u"media.get_state");
    const int before = session->polls;
    player().stallMs = 3000;
    ASSERT_TRUE(waitFor([&] { return session->polls >= before + 3; })) << "polls keep coming while it hangs";
    player().stallMs = 0;
    clearReports();
    player().volume = 77;
    EXPECT_TRUE(waitForReport("media.volume 77.00", 15000ms));
}

} // namespace
