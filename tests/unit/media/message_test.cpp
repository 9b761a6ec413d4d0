// Client messages: command names, their order and how a message is cut.
#include <gtest/gtest.h>

#include <string>

#include "narrow.h"
#include "plugins/common/mediamessage.h"

using media::mediaCommand;
using media::mediaCommandFromName;
using media::mediaCommandName;
using media::splitMediaMessage;
using media::splitMediaMessageWholeArgument;
using vcore::str;

namespace {

TEST(MediaCommand, EveryNameRoundTripsAndOthersAreUnknown)
{
    for (int c = 0; c < int(mediaCommand::unknown); ++c) {
        const auto command = mediaCommand(c);
        EXPECT_EQ(mediaCommandFromName(str(mediaCommandName(command)).view()), command)
            << narrow(str(mediaCommandName(command)));
    }
    EXPECT_EQ(mediaCommandFromName(str(u"media.set_volume").view()), mediaCommand::setVolume);
    EXPECT_EQ(mediaCommandFromName(str(u"media.close").view()), mediaCommand::close);
    EXPECT_EQ(mediaCommandFromName(str(u"MEDIA.PLAY").view()), mediaCommand::unknown);
    EXPECT_EQ(mediaCommandFromName(str(u"media.play2").view()), mediaCommand::unknown);
    EXPECT_EQ(mediaCommandFromName(str(u"media.").view()), mediaCommand::unknown);
    EXPECT_EQ(mediaCommandFromName(str().view()), mediaCommand::unknown);
}

TEST(MediaMessage, NameIsLowerCasedAtoZOnly)
{
    EXPECT_EQ(splitMediaMessage(str(u"MEDIA.PLAY")).command(), mediaCommand::play);
    EXPECT_EQ(splitMediaMessage(str(u"Media.Set_Volume 50")).command(), mediaCommand::setVolume);
    const auto m = splitMediaMessage(str(u"MEDIA.\u00C4 X"));
    EXPECT_EQ(m.name[6], u'\u00C4');
    EXPECT_EQ(narrow(m.argument), "X");
}

TEST(MediaMessage, ArgumentIsTheSecondFieldOfSingleSpaces)
{
    auto m = splitMediaMessage(str(u"media.set_volume 50"));
    EXPECT_EQ(narrow(m.name), "media.set_volume");
    EXPECT_EQ(narrow(m.argument), "50");

    m = splitMediaMessage(str(u"media.set_volume  50"));  // two spaces: an empty argument
    EXPECT_EQ(m.command(), mediaCommand::setVolume);
    EXPECT_TRUE(m.argument.empty());

    m = splitMediaMessage(str(u"media.search foo bar"));
    EXPECT_EQ(narrow(m.argument), "foo");

    m = splitMediaMessage(str(u"media.play"));
    EXPECT_TRUE(m.argument.empty());

    m = splitMediaMessage(str(u"media.play "));
    EXPECT_EQ(m.command(), mediaCommand::play);
    EXPECT_TRUE(m.argument.empty());

    m = splitMediaMessage(str());
    EXPECT_EQ(m.command(), mediaCommand::unknown);
}

TEST(MediaMessage, WholeArgumentKeepsItsSpaces)
{
    auto m = splitMediaMessageWholeArgument(str(u"MEDIA.SEARCH foo  bar "));
    EXPECT_EQ(m.command(), mediaCommand::search);
    EXPECT_EQ(narrow(m.argument), "foo  bar ");

    m = splitMediaMessageWholeArgument(str(u"media.search"));
    EXPECT_EQ(m.command(), mediaCommand::search);
    EXPECT_TRUE(m.argument.empty());
}

TEST(MediaMessage, HugeArgumentIsKeptWhole)
{
    std::u16string text = u"media.search ";
    text.append(65536, u'x');
    const auto m = splitMediaMessage(str(text.c_str()));
    EXPECT_EQ(m.argument.length(), 65536);
    EXPECT_EQ(splitMediaMessageWholeArgument(str(text.c_str())).argument.length(), 65536);
}

} // namespace
