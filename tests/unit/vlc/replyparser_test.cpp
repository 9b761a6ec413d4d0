// VLC's reply and status lines into the remembered state: written rules and real VLC 3 output.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/media/narrow.h"
#include "plugins/vlc/replyparser.h"

using vcore::str;
using vlc::lineOutcome;
using vlc::replyParser;
using vlc::vlcState;

namespace {

// One data event as the shell runs it: lines until the reply is complete.
struct event {
    std::vector<std::string> reports;
    std::vector<std::string> logs;
    int linesRead = 0;
    bool complete = false;
    bool restarted = false;
};

event feed(replyParser& parser, const std::vector<std::u16string>& lines, const char16_t* lastCommand)
{
    event e;
    parser.beginData();
    const str last(lastCommand);
    for (const auto& text : lines) {
        ++e.linesRead;
        const lineOutcome out = parser.feedLine(str(text.c_str()), last);
        for (const auto& r : out.reports)
            e.reports.push_back(narrow(r));
        for (const auto& l : out.logLines)
            e.logs.push_back(narrow(l));
        e.restarted = e.restarted || out.restartReply;
        if (out.replyComplete) {
            e.complete = true;
            break;
        }
    }
    return e;
}

std::vector<std::string> titles(const vlcState& state)
{
    std::vector<std::string> out;
    for (const auto& t : state.list)
        out.push_back(narrow(t));
    return out;
}

using strings = std::vector<std::string>;

class ReplyParser : public ::testing::Test {
protected:
    vlcState state;
    replyParser parser{state};
};

TEST_F(ReplyParser, AudioVolumeIsReportedInPercent)
{
    const auto e = feed(parser, {u"status change: ( audio volume: 256 )\r"}, u"status");
    EXPECT_EQ(e.reports, strings{"media.volume 50.00"});
    EXPECT_DOUBLE_EQ(state.volume, 50.0);
    EXPECT_FALSE(e.complete);

    feed(parser, {u"status change: ( audio volume: 300 )\r"}, u"");
    EXPECT_NEAR(state.volume, 58.59, 0.01);
}

TEST_F(ReplyParser, PlayStateFromTailElseFromKey)
{
    state.titleRefreshNeeded = false;
    state.timeRefreshNeeded = false;
    state.length = 185;
    auto e = feed(parser, {u"status change: ( play state: 3 ): Play\r"}, u"");
    EXPECT_EQ(state.playState, vlc::playing);
    EXPECT_EQ(e.reports, strings{"media.speed 1.0"});
    EXPECT_EQ(state.length, -1);
    EXPECT_TRUE(state.timeRefreshNeeded);
    EXPECT_TRUE(state.titleRefreshNeeded);

    state.titleRefreshNeeded = false;
    e = feed(parser, {u"status change: ( play state: 3 ): end\r"}, u"");
    EXPECT_EQ(state.playState, vlc::stopped);
    EXPECT_EQ(e.reports, strings{"media.speed 0"});
    EXPECT_FALSE(state.titleRefreshNeeded);

    e = feed(parser, {u"status change: ( pause state: 3 ): Pause\r"}, u"");
    EXPECT_EQ(state.playState, vlc::paused);
    EXPECT_EQ(e.reports, strings{"media.speed 0.0"});

    feed(parser, {u"status change: ( play state: 3 )\r"}, u"");
    EXPECT_EQ(state.playState, vlc::playing);
    feed(parser, {u"status change: ( stop state: 5 )\r"}, u"");
    EXPECT_EQ(state.playState, vlc::stopped);
}

TEST_F(ReplyParser, NewInputAsksForTheTitleAndDropsThePendingSeek)
{
    state.playState = vlc::stopped;
    state.pendingSeek = 30;
    state.titleRefreshNeeded = false;
    const auto e = feed(parser, {u"status change: ( new input: file:///music/a.mp3 )\r"}, u"");
    EXPECT_EQ(state.playState, vlc::paused);
    EXPECT_FALSE(state.hasPendingSeek());
    EXPECT_TRUE(state.titleRefreshNeeded);
    EXPECT_TRUE(e.reports.empty());
}

TEST_F(ReplyParser, WrittenPlaylistExample)
{
    state.list.emplace_back(u"stale");
    feed(parser, {u"+----[ Playlist ]", u"|- Playlist", u"|   3- Song name (3:05)"}, u"playlist");
    EXPECT_EQ(titles(state), strings{"Song name"});
    EXPECT_FALSE(state.listRefreshNeeded);
}

TEST_F(ReplyParser, RealPlaylistLeavesMediaLibraryOut)
{
    const auto e = feed(parser,
                        {u"+----[ Playlist ]\r", u"|- Playlist\r", u"|  - One (3:05)\r",
                         u"|  - Two (Live) (04:10)\r", u"|  - Three\r", u"|  - \xC3\xA9t\xC3\xA9 (1:00)\r",
                         u"|- Media Library\r", u"|  - Library song (2:00)\r", u"+----[ End of playlist ]\r",
                         u"playlist: returned 0 (no error)\r", u"status change: ( audio volume: 256 )\r"},
                        u"playlist");
    EXPECT_EQ(titles(state), (strings{"One", "Two (Live)", "Three", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_TRUE(e.restarted);
    EXPECT_TRUE(e.complete);
    EXPECT_EQ(e.linesRead, 10);  // the status line waits for the next read
}

TEST_F(ReplyParser, PlaylistArrivingInPiecesKeepsEveryEntry)
{
    feed(parser, {u"+----[ Playlist ]\r", u"|- Playlist\r", u"|  - One (3:05)\r"}, u"playlist");
    feed(parser, {u"|  - Two (3:05)\r", u"|- Media Library\r", u"|  - Lib\r"}, u"playlist");
    const auto e = feed(parser, {u"+----[ End of playlist ]\r", u"playlist: returned 0 (no error)\r"}, u"playlist");
    EXPECT_TRUE(e.complete);
    EXPECT_EQ(titles(state), (strings{"One", "Two"}));

    // Outside a listing an entry-like line is nothing.
    feed(parser, {u"|  - Stray\r"}, u"get_title");
    EXPECT_EQ(state.list.size(), 2u);
}

TEST_F(ReplyParser, LoopAndRandomConfirmationsInBothWordings)
{
    auto e = feed(parser, {u"Setting random to true\r"}, u"random on");
    EXPECT_EQ(state.shuffle, 1);
    EXPECT_EQ(e.reports, strings{"media.shuffle 1"});
    EXPECT_FALSE(e.complete);

    e = feed(parser, {u"Setting random to 0"}, u"random off");
    EXPECT_EQ(state.shuffle, 0);
    EXPECT_EQ(e.reports, strings{"media.shuffle 0"});

    e = feed(parser, {u"Setting loop to 1\r"}, u"loop on");
    EXPECT_EQ(state.repeat, 1);
    EXPECT_EQ(e.reports, strings{"media.repeat 1"});

    e = feed(parser, {u"setting loop to false\r"}, u"loop off");  // the wording is exact
    EXPECT_EQ(state.repeat, 1);
    EXPECT_TRUE(e.reports.empty());

    e = feed(parser, {u"Setting loop to false\r"}, u"loop off");
    EXPECT_EQ(state.repeat, 0);
    EXPECT_EQ(e.reports, strings{"media.repeat 0"});
}

TEST_F(ReplyParser, AnswersToTheGetCommands)
{
    state.trackIndex = 3;
    auto e = feed(parser, {u"  Song B \r"}, u"get_title");
    EXPECT_TRUE(e.complete);
    EXPECT_EQ(narrow(state.title), "Song B");
    EXPECT_EQ(state.trackIndex, -1);
    EXPECT_FALSE(state.titleRefreshNeeded);

    feed(parser, {u"\r"}, u"get_title");
    EXPECT_TRUE(state.title.empty());

    feed(parser, {u"185\r"}, u"get_length");
    EXPECT_EQ(state.length, 185);
    feed(parser, {u"65\r"}, u"get_time");
    EXPECT_EQ(state.time, 65);

    e = feed(parser, {u"unknown\r"}, u"get_time");
    EXPECT_TRUE(e.complete);
    EXPECT_EQ(state.time, 65);
    feed(parser, {u"1e999\r"}, u"get_time");
    EXPECT_EQ(state.time, 65);
    feed(parser, {u"70\r"}, u"GET_TIME");  // exact command names only
    EXPECT_EQ(state.time, 65);
}

TEST_F(ReplyParser, HeadEqualToTheLastCommandCompletesTheReply)
{
    state.playState = vlc::playing;
    auto e = feed(parser, {u"pause: returned 0 (no error)\r", u"more\r"}, u"pause");
    EXPECT_TRUE(e.complete);
    EXPECT_EQ(e.linesRead, 1);
    // VLC toggles: its confirmation says nothing of the state, its status line will.
    EXPECT_EQ(state.playState, vlc::playing);
    EXPECT_EQ(e.logs, strings{"pause: returned 0 (no error)"});
    feed(parser, {u"pause: (now paused)\r"}, u"pause");
    EXPECT_EQ(state.playState, vlc::paused);

    e = feed(parser, {u"play: returned 0 (no error)\r"}, u"PLAY");
    EXPECT_TRUE(e.complete);
    EXPECT_EQ(state.playState, vlc::playing);

    e = feed(parser, {u"status change: ( audio volume: 0 )\r"}, u"status");
    EXPECT_FALSE(e.complete);
}

TEST_F(ReplyParser, TrackStepsAndPositionLines)
{
    state.time = 10;
    state.length = 100;
    feed(parser, {u"next: returned 0 (no error)\r"}, u"next");
    EXPECT_EQ(state.time, -1);
    EXPECT_EQ(state.length, -1);

    feed(parser, {u"pos: 25\r"}, u"");
    EXPECT_EQ(state.length, 100);
    EXPECT_EQ(state.time, 25);
    state.length = 200;
    feed(parser, {u"pos: 50,5\r"}, u"");
    EXPECT_EQ(state.time, 101);
}

TEST_F(ReplyParser, HostileLinesChangeNothingUnsafely)
{
    for (const char16_t* line : {u"+", u"|", u"|-", u"| ", u":", u"(", u")", u"status change:",
                                 u"status change: (", u"status change: ( audio volume: 99999999999999999999 )",
                                 u"pos:", u"Setting ", u"|- x", u"|- y", u"|  -"})
        feed(parser, {line}, u"");
    EXPECT_NEAR(state.volume, 2147483647.0 * 100 / 512, 1);
    EXPECT_TRUE(state.list.empty());

    const std::u16string huge(100000, u'\xFF');
    feed(parser, {huge}, u"get_title");
    EXPECT_EQ(state.title.length(), 100000);
}

TEST_F(ReplyParser, ListIsBounded)
{
    std::vector<std::u16string> lines{u"+----[ Playlist ]", u"|- Playlist"};
    for (int i = 0; i < replyParser::maxListEntries + 10; ++i)
        lines.push_back(u"|  - x");
    feed(parser, lines, u"playlist");
    EXPECT_EQ(state.list.size(), size_t(replyParser::maxListEntries));
}

} // namespace
