// The remembered list: full-list mode, the rebuild on a playlist change, the cuts.
#include "itunesfixture.h"

using namespace ittest;

TEST_F(ITunes, GetListAnswersOnlyAfterGetCompleteWithoutArgument)
{
    say("media.get_list");
    say("media.get_complete x");
    ASSERT_TRUE(peer.waitFor("media.volume 50.00"));
    ASSERT_TRUE(settle());
    EXPECT_TRUE(peer.since(0, "media.list_").empty());

    say("media.get_complete");
    ASSERT_TRUE(peer.waitFor("media.list_start"));
    const size_t from = peer.mark();
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    EXPECT_EQ(peer.since(from, "media.list_title "),
              (std::vector<std::string>{"media.list_title Alpha - First", "media.list_title Second",
                                        "media.list_title Gamma - Third"}));
    EXPECT_TRUE(peer.waitFor("media.track 0"));

    const size_t again = peer.mark();
    say("media.get_list");
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    EXPECT_EQ(peer.since(again, "media.list_title ").size(), 3u);
    EXPECT_TRUE(peer.waitFor("media.track 0"));
}

TEST_F(ITunes, EntriesArePlacedByPlayOrderAndOrdersOutsideTheListAreLeftOut)
{
    ASSERT_TRUE(player.clear(0, 5));
    ASSERT_TRUE(player.add(0, u"Three", u"", 60, 3));
    ASSERT_TRUE(player.add(0, u"One", u"", 60, 1));
    ASSERT_TRUE(player.add(0, u"Far", u"", 60, 99));
    ASSERT_TRUE(player.add(0, u"None", u"", 60, 0));
    say("media.get_complete");
    ASSERT_TRUE(peer.waitFor("media.list_start"));
    const size_t from = peer.mark();
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    EXPECT_EQ(peer.since(from, "media.list_title"),
              (std::vector<std::string>{"media.list_title One", "media.list_title ", "media.list_title Three",
                                        "media.list_title "}));
}

TEST_F(ITunes, APlaylistChangeResendsTheListThenTrackMinusOneThenTheRealState)
{
    say("media.get_complete");
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    ASSERT_TRUE(player.setCurrent(0, 1));
    ASSERT_TRUE(player.add(0, u"Fourth", u"", 90, 4));

    ASSERT_TRUE(peer.waitFor("media.list_start", 5000ms));  // the poll's
    const size_t from = peer.mark();
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    EXPECT_EQ(peer.since(from, "media.list_title ").size(), 4u);
    EXPECT_TRUE(peer.waitFor("media.track -1"));
    EXPECT_TRUE(peer.waitFor("media.track 1"));
    EXPECT_TRUE(peer.waitFor("media.shuffle 0", 5000ms));
    EXPECT_TRUE(peer.waitFor("media.repeat 0"));

    // Same size, same id, but the first track stands elsewhere in the play order: rebuilt.
    ASSERT_TRUE(player.clear(0, 1));
    ASSERT_TRUE(player.add(0, u"New 2", u"", 90, 2));
    ASSERT_TRUE(player.add(0, u"New 1", u"", 90, 1));
    ASSERT_TRUE(player.add(0, u"New 3", u"", 90, 3));
    ASSERT_TRUE(player.add(0, u"New 4", u"", 90, 4));
    ASSERT_TRUE(peer.waitFor("media.list_title New 1", 5000ms));
    EXPECT_TRUE(peer.waitFor("media.list_title New 2"));
}

TEST_F(ITunes, LongTitlesAreCutTo200InTheListAnd60InTheShortListCountingUtf8Bytes)
{
    const std::u16string longTitle(250, u'x');
    const std::u16string accented(150, u'\u00E9');  // 300 bytes in UTF-8
    ASSERT_TRUE(player.clear(0, 3));
    ASSERT_TRUE(player.add(0, longTitle, u"", 60, 1));
    ASSERT_TRUE(player.add(0, accented, u"", 60, 2));
    ASSERT_TRUE(player.add(0, u"Short", u"", 60, 3));
    ASSERT_TRUE(player.setCurrent(0, 0));
    say("media.get_complete");
    ASSERT_TRUE(peer.waitFor("media.list_start"));
    const size_t from = peer.mark();
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    std::string e200;
    for (int i = 0; i < 100; ++i)
        e200 += "\xC3\xA9";
    EXPECT_EQ(peer.since(from, "media.list_title "),
              (std::vector<std::string>{"media.list_title " + std::string(200, 'x'), "media.list_title " + e200,
                                        "media.list_title Short"}));

    say("media.get_shortlist 5");
    ASSERT_TRUE(peer.waitFor("media.shortlist ", 5000ms, true));
    const std::string shortList = peer.since(from, "media.shortlist ").front();
    EXPECT_EQ(shortList, "media.shortlist 0 " + std::string(60, 'x') + "...\t" + e200.substr(0, 60) + "...\tShort\t");
}

TEST_F(ITunes, TitlesOutsideTheBasicPlaneAndTheTitleRuleGoOutAsUtf8)
{
    ASSERT_TRUE(player.clear(0, 3));
    ASSERT_TRUE(player.add(0, u"Song \U0001F3B5", u"Caf\u00E9", 60, 1));
    ASSERT_TRUE(player.setCurrent(0, 0));
    say("media.get_complete");
    EXPECT_TRUE(peer.waitFor("media.title Caf\xC3\xA9 - Song \xF0\x9F\x8E\xB5"));
    EXPECT_TRUE(peer.waitFor("media.list_title Caf\xC3\xA9 - Song \xF0\x9F\x8E\xB5"));
}

TEST_F(ITunes, ANegativeOrOverstatedTrackCountGivesTheTracksThatExist)
{
    ASSERT_TRUE(player.call2(u"StandInForceCount", -5, 1));
    say("media.get_complete");
    ASSERT_TRUE(peer.waitFor("media.list_start"));
    size_t from = peer.mark();
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    EXPECT_TRUE(peer.since(from, "media.list_title").empty());

    ASSERT_TRUE(player.call2(u"StandInForceCount", 2147483647, 1));
    ASSERT_TRUE(peer.waitFor("media.list_start", 5000ms));  // the poll's, on the changed count
    from = peer.mark();
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    EXPECT_EQ(peer.since(from, "media.list_title ").size(), 3u);

    say("media.get_shortlist 10");
    ASSERT_TRUE(peer.waitFor("media.shortlist ", 5000ms, true));
    EXPECT_EQ(peer.since(from, "media.shortlist ").front(),
              "media.shortlist 0 Alpha - First\tSecond\tGamma - Third\t");
}
