// Whatever arrives: own datagrams, odd framing, missing fields, huge and non-ASCII messages.
#include <gmock/gmock.h>

#include "fakes.h"

namespace nodetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(NodeRules, DatagramsFromThisHostAreNotEvenLogged)
{
    link.locals = {ip("10.0.0.2")};
    rules.announce(text("media"));
    take();
    hear("whois", "10.0.0.2", true);
    hear("whois", "127.0.0.1");
    hear("search;media;", "127.0.0.1");
    EXPECT_THAT(takeAll(), IsEmpty());
}

TEST_F(NodeRules, EveryOtherDatagramIsLoggedWholeWithItsSender)
{
    hear("hello;world", "10.0.0.9");
    hear("", "10.0.0.9");
    rules.receive(text("whoami;;"), 0, false);
    EXPECT_THAT(takeAll(), ElementsAre("log [in:10.0.0.9] hello;world", "log [in:10.0.0.9] ", "log [in:] whoami;;",
                                       "send * youare;;"));
}

TEST_F(NodeRules, TrailingSemicolonAndExtraFieldsChangeNothing)
{
    knowAs("10.0.0.2");
    rules.announce(text("media"));
    take();
    hear("search;media;10.0.0.9;");
    const trace withSemicolon = take();
    ASSERT_FALSE(withSemicolon.empty());
    hear("search;media;10.0.0.9");
    EXPECT_EQ(take(), withSemicolon);
    hear("search;media;10.0.0.9;extra;;more;");
    EXPECT_EQ(take(), withSemicolon);
}

TEST_F(NodeRules, MessagesWithMissingFieldsFindNoEntry)
{
    knowAs("10.0.0.2");
    rules.announce(text("media"));
    rules.search(text("radio"));
    hear("connect;radio;10.0.0.1;6667;");
    take();
    for (const char* word : {"whois", "youare", "thankyou", "search", "server", "open", "connect", "close", "bogus"})
        for (const char* rest : {"", ";", ";;", ";;;;;"}) {
            hear(std::string(word) + rest, "10.0.0.9");
            EXPECT_THAT(take(), IsEmpty()) << word << rest;
        }
    for (const char* rest : {"", ";", ";;"}) {
        hear(std::string("whoami") + rest, "10.0.0.9");
        EXPECT_THAT(take(), ElementsAre("send * youare;10.0.0.9;"));
    }
    EXPECT_TRUE(rules.services()[1].open);
}

TEST_F(NodeRules, AMessageTooLongForOneDatagramIsNotSentButLogged)
{
    const std::string fits(C4NodeRules::maxMessage - 8, 'x');  // "youare;" + fits + ";"
    hear("whoami;" + fits + ";");
    EXPECT_THAT(take(), ElementsAre("send * youare;" + fits + ";"));

    const std::string largest = "whoami;" + std::string(65507 - 8, 'x') + ";";
    hear(largest);
    const trace all = takeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0], "log [in:10.0.0.9] " + largest);
}

TEST_F(NodeRules, MessagesLongerThanTheFormatRoomAreSentWhole)
{
    knowAs("10.0.0.2");
    const std::string name(1000, 'm');
    rules.announce(text(name));
    EXPECT_THAT(take(), ElementsAre("send * server;" + name + ";10.0.0.2;", "pause",
                                    "send 10.0.0.1 server;" + name + ";10.0.0.2;"));
}

TEST_F(NodeRules, BytesAboveAsciiTravelUnchanged)
{
    knowAs("10.0.0.2");
    rules.announce(text("m\xE9" "dia"));
    take();
    hear("whoami;\x80\xFF;");
    hear("search;m\xE9" "dia;");
    hear("search;m\xC3\xA9" "dia;");
    EXPECT_THAT(take(), ElementsAre("send * youare;\x80\xFF;", "send * server;m\xE9" "dia;10.0.0.2;", "pause",
                                    "send 10.0.0.9 server;m\xE9" "dia;10.0.0.2;"));
}

} // namespace
} // namespace nodetest
