// Command lines for VLC and the reply waits.
#include <gtest/gtest.h>

#include "tests/unit/media/narrow.h"
#include "plugins/vlc/vlccommands.h"

using namespace vlc;
using vcore::str;

namespace {

TEST(VlcCommands, NumbersAreTruncatedAndSaturated)
{
    EXPECT_EQ(narrow(volumeCommand(50)), "volume 256\n");
    EXPECT_EQ(narrow(volumeCommand(33)), "volume 168\n");  // 168.96
    EXPECT_EQ(narrow(volumeCommand(1e300)), "volume 2147483647\n");
    EXPECT_EQ(narrow(seekCommand(99.9)), "seek 99\n");
    EXPECT_EQ(narrow(gotoCommand(0)), "goto 1\n");
    EXPECT_EQ(narrow(gotoCommand(INT32_MAX)), "goto 2147483647\n");
    EXPECT_EQ(narrow(randomCommand(true)), "random on\n");
    EXPECT_EQ(narrow(loopCommand(false)), "loop off\n");
}

TEST(VlcCommands, LastCommandIsTrimmedAndThePlaylistWaitsLonger)
{
    EXPECT_EQ(narrow(lastCommandOf(str(u" \tgoto 3\r\n"))), "goto 3");
    EXPECT_EQ(narrow(lastCommandOf(str(statusCommand))), "status");
    EXPECT_EQ(replyWaitMs(lastCommandOf(str(playlistCommand))), 1000);
    EXPECT_EQ(replyWaitMs(str(u"PlayList")), 1000);
    EXPECT_EQ(replyWaitMs(str(u"get_time")), 150);
}

} // namespace
