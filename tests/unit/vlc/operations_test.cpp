// The media commands and the poll carried out on VLC, over a shell that plays VLC.
#include <gtest/gtest.h>

#include <algorithm>

#include "fakeshell.h"
#include "plugins/vlc/operations.h"

using media::mediaCommand;
using vcore::str;
using vlc::operations;
using vlc::vlcState;

namespace {

using strings = std::vector<std::string>;

bool has(const strings& list, const std::string& text)
{
    return std::find(list.begin(), list.end(), text) != list.end();
}

class VlcOperations : public ::testing::Test {
protected:
    bool run(mediaCommand command, const char16_t* argument = u"")
    {
        return ops.run(command, str(argument));
    }

    vlcState state;
    fakeShell shell{state};
    operations ops{state, shell};
};

TEST_F(VlcOperations, VolumeWhilePausedWaitsForPlay)
{
    state.playState = vlc::paused;
    run(mediaCommand::setVolume, u"50");
    EXPECT_TRUE(shell.commands.empty());
    EXPECT_TRUE(shell.reports.empty());

    run(mediaCommand::play);
    EXPECT_EQ(shell.commands, (strings{"pause\n", "volume 256\n"}));
    EXPECT_EQ(state.volume, 50);
    EXPECT_FALSE(state.hasPendingVolume());

    shell.forget();
    state.playState = vlc::playing;
    run(mediaCommand::addVolume, u"-80");  // never below 0
    EXPECT_EQ(shell.commands, strings{"volume 0\n"});
    run(mediaCommand::setVolume, u"nan");
    EXPECT_EQ(shell.commands.back(), "volume 0\n");
}

TEST_F(VlcOperations, SetTrackGoesToTheOneBasedEntryAndRefreshesTheList)
{
    state.playState = vlc::stopped;
    state.titleRefreshNeeded = false;
    shell.replies["playlist"] = {u"+----[ Playlist ]\r", u"|- Playlist\r", u"|  - One (0:10)\r",
                                 u"+----[ End of playlist ]\r", u"playlist: returned 0 (no error)\r"};
    run(mediaCommand::setTrack, u"0");
    EXPECT_EQ(shell.commands, (strings{"play\n", "goto 1\n", "playlist\n"}));
    EXPECT_EQ(shell.reports, (strings{"media.list_start", "media.list_title One", "media.list_end"}));
    EXPECT_TRUE(state.titleRefreshNeeded);

    shell.forget();
    state.titleRefreshNeeded = false;
    shell.repliesComplete = false;  // no reply to goto: the title is not asked for again
    run(mediaCommand::setTrack, u"99999999999");
    EXPECT_EQ(shell.commands[1], "goto 2147483647\n");
    EXPECT_FALSE(state.titleRefreshNeeded);
}

TEST_F(VlcOperations, ShuffleAndRepeatSwitchesAreConfirmedByVlc)
{
    shell.replies["random on"] = {u"Setting random to true\r"};
    run(mediaCommand::setShuffle, u"-1");
    EXPECT_EQ(shell.commands, strings{"random on\n"});
    EXPECT_EQ(shell.reports, strings{"media.shuffle 1"});
    EXPECT_EQ(state.shuffle, 1);

    shell.forget();
    run(mediaCommand::setShuffle, u"-1");
    run(mediaCommand::setShuffle, u"5");
    run(mediaCommand::setShuffle, u"0");
    run(mediaCommand::setRepeat, u"-1");
    run(mediaCommand::setRepeat, u"0x10");
    EXPECT_EQ(shell.commands, (strings{"random off\n", "random on\n", "random off\n", "loop on\n", "loop on\n"}));
}

TEST_F(VlcOperations, GreetingAnswersOwnAddressesOnly)
{
    state.listRefreshNeeded = false;
    run(mediaCommand::init);
    EXPECT_EQ(shell.reports, strings{"media.app DESK:VLC"});
    EXPECT_EQ(shell.commands, (strings{"loop off\n", "random off\n"}));
    EXPECT_TRUE(state.listRefreshNeeded);

    shell.forget();
    run(mediaCommand::init, u"10.0.0.9");
    run(mediaCommand::init, u"somehost");
    EXPECT_TRUE(shell.reports.empty());
    EXPECT_TRUE(shell.commands.empty());

    run(mediaCommand::init, u"192.168.1.5");
    run(mediaCommand::init, u"127.0.0.1");
    EXPECT_EQ(shell.reports.size(), 2u);
}

TEST_F(VlcOperations, SearchPrefersAnEntryAfterTheCurrentTrack)
{
    state.list = {str(u"Alpha"), str(u"beta"), str(u"ALPHA two")};
    state.trackIndex = 0;
    EXPECT_EQ(ops.searchIndex(str(u"alpha")), 2);
    state.trackIndex = 2;
    EXPECT_EQ(ops.searchIndex(str(u"alpha")), 0);
    EXPECT_EQ(ops.searchIndex(str(u"zzz")), -1);

    state.playState = vlc::playing;
    run(mediaCommand::search, u"BETA");
    EXPECT_EQ(shell.commands[0], "goto 2\n");
    shell.forget();
    run(mediaCommand::search, u"zzz");
    EXPECT_TRUE(shell.commands.empty());
}

TEST_F(VlcOperations, RefusedLockSkipsTheOperationWithoutReply)
{
    shell.lockFree = false;
    state.playState = vlc::playing;
    state.sessionActive = true;
    state.length = 100;
    state.list = {str(u"a")};
    for (mediaCommand c : {mediaCommand::setVolume, mediaCommand::addVolume, mediaCommand::setPos,
                           mediaCommand::addPos, mediaCommand::setTrack, mediaCommand::play, mediaCommand::prev,
                           mediaCommand::next, mediaCommand::stop, mediaCommand::search})
        run(c, u"1");
    ops.poll();
    EXPECT_TRUE(shell.commands.empty());
    EXPECT_TRUE(shell.reports.empty());
    EXPECT_EQ(shell.locksReleased, 0);

    run(mediaCommand::pause);  // takes no lock
    EXPECT_EQ(shell.commands, strings{"pause\n"});

    shell.lockFree = true;
    run(mediaCommand::search, u"a");
    ops.poll();
    EXPECT_GT(shell.locksTaken, 0);
    EXPECT_EQ(shell.locksTaken, shell.locksReleased);
}

TEST_F(VlcOperations, PollReportsOnlyWhatChanged)
{
    shell.replies["playlist"] = {u"+----[ Playlist ]\r", u"|- Playlist\r", u"|  - Intro (0:30)\r",
                                 u"|  - SONG (3:05)\r", u"|- Media Library\r", u"+----[ End of playlist ]\r",
                                 u"playlist: returned 0 (no error)\r"};
    shell.replies["get_title"] = {u"Song\r"};
    shell.replies["get_length"] = {u"185\r"};
    shell.replies["get_time"] = {u"65\r"};

    state.playState = vlc::playing;
    ops.poll();
    EXPECT_TRUE(shell.commands.empty());  // no client has asked for anything yet

    state.sessionActive = true;
    ops.poll();
    EXPECT_EQ(shell.commands, (strings{"playlist\n", "get_title\n", "get_length\n", "get_time\n"}));
    EXPECT_EQ(shell.reports, (strings{"media.list_start", "media.list_title Intro", "media.list_title SONG",
                                      "media.list_end", "media.title Song", "media.pos 35.14 1:05 3:05 -2:00",
                                      "media.track 1"}));

    shell.forget();
    ops.poll();
    EXPECT_EQ(shell.commands, strings{"get_time\n"});
    EXPECT_TRUE(shell.reports.empty());
}

TEST_F(VlcOperations, PositionAskedForWhilePausedIsSoughtOnPlay)
{
    state.playState = vlc::paused;
    run(mediaCommand::setPos, u"50");  // length unknown: nothing to aim at
    EXPECT_TRUE(shell.reports.empty());

    state.length = 200;
    state.time = 10;
    run(mediaCommand::setPos, u"50");
    EXPECT_TRUE(shell.commands.empty());
    EXPECT_EQ(shell.reports, strings{"media.pos 50.00 1:40 3:20 -1:40"});

    run(mediaCommand::addPos, u"-500");  // before the start is the start
    EXPECT_EQ(state.pendingSeek, 0);
    run(mediaCommand::addPos, u"5");
    EXPECT_EQ(state.pendingSeek, 5);

    shell.forget();
    run(mediaCommand::play);
    EXPECT_EQ(shell.commands, (strings{"pause\n", "seek 5\n"}));
    EXPECT_EQ(state.time, 5);
    EXPECT_FALSE(state.hasPendingSeek());

    state.playState = vlc::playing;
    shell.forget();
    run(mediaCommand::addPos, u"10");
    EXPECT_EQ(shell.commands, strings{"seek 15\n"});
}

TEST_F(VlcOperations, StateRequestsAndListModes)
{
    run(mediaCommand::getComplete, u"1");
    EXPECT_TRUE(state.shortListMode);
    EXPECT_TRUE(state.sessionActive);
    EXPECT_FALSE(has(shell.commands, "playlist\n"));
    EXPECT_TRUE(has(shell.commands, "status\r\n"));
    EXPECT_TRUE(has(shell.reports, "media.speed 0.0"));
    EXPECT_TRUE(has(shell.reports, "media.repeat 0"));
    EXPECT_TRUE(has(shell.reports, "media.shuffle 0"));

    state.list = {str(u"a"), str(u"b")};
    shell.forget();
    run(mediaCommand::getShortlist, u"9");
    EXPECT_EQ(shell.reports, strings{"media.shortlist 0 a\tb\t"});

    run(mediaCommand::getComplete);
    EXPECT_FALSE(state.shortListMode);
    EXPECT_TRUE(has(shell.commands, "playlist\n"));
    shell.forget();
    run(mediaCommand::getShortlist, u"9");
    EXPECT_TRUE(shell.reports.empty());
}

TEST_F(VlcOperations, StopAndSteps)
{
    state.playState = vlc::paused;
    state.titleRefreshNeeded = false;
    run(mediaCommand::stop);
    EXPECT_EQ(shell.commands, (strings{"pause\n", "stop\n"}));
    EXPECT_TRUE(state.titleRefreshNeeded);

    shell.forget();
    state.playState = vlc::stopped;
    run(mediaCommand::stop);
    EXPECT_TRUE(shell.commands.empty());

    state.playState = vlc::playing;
    state.pendingSeek = 3;
    run(mediaCommand::next);
    EXPECT_EQ((strings{shell.commands.begin(), shell.commands.begin() + 2}), (strings{"next\n", "playlist\n"}));
    EXPECT_FALSE(state.hasPendingSeek());
}

TEST_F(VlcOperations, UnsupportedCommandsAreIgnored)
{
    for (mediaCommand c : {mediaCommand::setRating, mediaCommand::incRating, mediaCommand::close,
                           mediaCommand::getTitle, mediaCommand::done, mediaCommand::unknown})
        EXPECT_FALSE(run(c, u"3"));
    EXPECT_TRUE(shell.commands.empty());
    EXPECT_TRUE(shell.reports.empty());
    EXPECT_TRUE(run(mediaCommand::pause));
}

} // namespace
