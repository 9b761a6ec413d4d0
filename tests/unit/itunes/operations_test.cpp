// The operations behind the media commands against the stand-in player, by behaviour.
#include "itunesfixture.h"

using namespace ittest;

TEST_F(ITunes, RatingsAreClampedToOneToFiveStarsAndIncreaseWrapsFromFiveToNone)
{
    say("media.set_rating 0");
    EXPECT_TRUE(peer.waitFor("media.rating 20"));
    EXPECT_EQ(player.trackNumber(u"Rating"), 20);
    say("media.set_rating 150");
    EXPECT_TRUE(peer.waitFor("media.rating 100"));
    EXPECT_EQ(player.trackNumber(u"Rating"), 100);

    say("media.inc_rating");
    EXPECT_TRUE(peer.waitFor("media.rating 0"));
    EXPECT_EQ(player.trackNumber(u"Rating"), 0);

    ASSERT_TRUE(player.setCurrent(0, 1));  // "Second", rated 40
    say("media.inc_rating");
    EXPECT_TRUE(peer.waitFor("media.rating 60"));
    EXPECT_EQ(player.trackNumber(u"Rating"), 60);
}

TEST_F(ITunes, RatingCommandsWithoutACurrentTrackDoNothing)
{
    ASSERT_TRUE(player.setCurrent(-1, -1));
    say("media.set_rating 60");
    say("media.inc_rating");
    ASSERT_TRUE(settle());
    EXPECT_TRUE(peer.since(0, "media.rating 60").empty());
    EXPECT_TRUE(peer.since(0, "media.rating 20").empty());
    EXPECT_EQ(peer.since(0, "media.track -1").size(), 1u);
}

TEST_F(ITunes, VolumeIsSetAndAddedAndPositionFollowsTheTrackLength)
{
    say("media.set_volume 30.9");
    EXPECT_TRUE(peer.waitFor("media.volume 30.00"));
    EXPECT_EQ(player.number(u"SoundVolume"), 30);
    say("media.add_volume -5");
    EXPECT_TRUE(peer.waitFor("media.volume 25.00"));
    EXPECT_EQ(player.number(u"SoundVolume"), 25);

    say("media.set_pos 50");  // of 200 s
    EXPECT_TRUE(peer.waitFor("media.pos 50.000 1:40 3:20 -1:40"));
    EXPECT_EQ(player.number(u"PlayerPosition"), 100);
    say("media.add_pos 10");
    EXPECT_TRUE(peer.waitFor("media.pos 55.000 1:50 3:20 -1:30"));
    EXPECT_EQ(player.number(u"PlayerPosition"), 110);
}

TEST_F(ITunes, PlayTogglesByTheStateReadAndTheTransportReportsItsSpeed)
{
    say("media.play");
    EXPECT_TRUE(peer.waitFor("media.speed 1.0"));
    EXPECT_EQ(player.number(u"PlayerState"), 1);
    say("media.play");
    EXPECT_TRUE(peer.waitFor("media.speed 0.0"));
    EXPECT_EQ(player.number(u"PlayerState"), 0);

    // Fast forward is not "playing": play starts it.
    ASSERT_TRUE(player.call1(u"StandInSetState", 2));
    say("media.play");
    EXPECT_TRUE(peer.waitFor("media.speed 1.0"));

    say("media.pause");
    EXPECT_TRUE(peer.waitFor("media.speed 0.0"));
    say("media.stop");
    EXPECT_TRUE(peer.waitFor("media.speed 0"));
    say("media.next");
    say("media.next");
    ASSERT_TRUE(settle());
    EXPECT_EQ(player.trackNumber(u"PlayOrderIndex"), 3);
    say("media.prev");
    ASSERT_TRUE(settle());
    EXPECT_EQ(player.trackNumber(u"PlayOrderIndex"), 2);
}

TEST_F(ITunes, ShuffleAndRepeatToggleAndRepeatingOneSongCountsAsOn)
{
    say("media.set_shuffle -1");
    EXPECT_TRUE(peer.waitFor("media.shuffle 1"));
    EXPECT_NE(player.playlistNumber(u"Shuffle"), 0);
    say("media.set_shuffle 0");
    EXPECT_TRUE(peer.waitFor("media.shuffle 0"));
    EXPECT_EQ(player.playlistNumber(u"Shuffle"), 0);

    say("media.set_repeat 1");
    EXPECT_TRUE(peer.waitFor("media.repeat 1"));
    EXPECT_EQ(player.playlistNumber(u"SongRepeat"), 2);

    ASSERT_TRUE(player.putPlaylist(u"SongRepeat", vwin::variant::integer(1)));
    say("media.set_repeat -1");
    EXPECT_TRUE(peer.waitFor("media.repeat 0"));
    EXPECT_EQ(player.playlistNumber(u"SongRepeat"), 0);
    say("media.set_repeat -1");
    EXPECT_TRUE(peer.waitFor("media.repeat 1"));
    EXPECT_EQ(player.playlistNumber(u"SongRepeat"), 2);
}

TEST_F(ITunes, SearchTakesThePhraseAndPrefersAMatchAfterTheCurrentTrack)
{
    ASSERT_TRUE(player.clear(0, 7));
    ASSERT_TRUE(player.add(0, u"Blue Sky", u"Alpha", 100, 1));
    ASSERT_TRUE(player.add(0, u"Blue Water", u"", 100, 2));
    ASSERT_TRUE(player.add(0, u"BLUE SKY again", u"", 100, 3));
    ASSERT_TRUE(player.add(0, u"Blue", u"Skye", 100, 4));
    ASSERT_TRUE(player.setCurrent(0, 1));
    say("media.get_complete");
    ASSERT_TRUE(peer.waitFor("media.list_end"));

    say("media.search blue sky");  // the whole phrase: "Blue Water" and "Skye - Blue" do not match
    ASSERT_TRUE(settle());
    EXPECT_EQ(player.number(u"StandInPlayedTrack"), 3);

    // Nothing after the current track (the third) matches: the first match wins.
    say("media.search Blue SKY");
    ASSERT_TRUE(settle());
    EXPECT_EQ(player.number(u"StandInPlayedTrack"), 1);

    ASSERT_TRUE(player.setCurrent(0, 1));
    say("media.search nowhere");
    ASSERT_TRUE(settle());
    EXPECT_EQ(player.number(u"StandInPlayedTrack"), 1);
}

TEST_F(ITunes, SetTrackPlaysByPlayOrderAndInitAnswersWithThePlayer)
{
    say("media.set_track 2");
    ASSERT_TRUE(settle());
    EXPECT_EQ(player.number(u"StandInPlayedTrack"), 3);
    EXPECT_EQ(player.number(u"PlayerState"), 1);
    say("media.init");
    ASSERT_TRUE(peer.waitFor("media.app ", 5000ms, true));
    const std::string app = peer.since(0, "media.app ").front();
    EXPECT_EQ(app.substr(app.size() - 7), ":iTunes");
}
