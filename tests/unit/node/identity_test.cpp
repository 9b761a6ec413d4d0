// How a node learns the address the others see it under, and what it does once it knows.
#include <gmock/gmock.h>

#include "fakes.h"

namespace nodetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(NodeRules, StartAsksPerLocalAddressThenAnnouncesAndSearchesInTableOrder)
{
    rules.announce(text("media"));
    rules.search(text("radio"));
    take();
    link.locals = {ip("10.0.0.2"), ip("192.168.1.5")};
    rules.start();
    EXPECT_THAT(take(), ElementsAre("send * whoami;10.0.0.2;", "log host ip: 10.0.0.2", "ip 10.0.0.2", "pause",
                                    "send * whoami;192.168.1.5;", "log host ip: 192.168.1.5", "ip 192.168.1.5",
                                    "send * server;media;10.0.0.2;", "send * server;media;192.168.1.5;",
                                    "send * search;radio;;"));
}

TEST_F(NodeRules, WhoisAsksOnlyWhileTheOwnAddressIsUnknown)
{
    link.locals = {ip("10.0.0.2")};
    hear("whois");
    EXPECT_THAT(take(), ElementsAre("send * whoami;10.0.0.2;", "log host ip: 10.0.0.2", "ip 10.0.0.2"));
    knowAs("10.0.0.2");
    hear("whois");
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(NodeRules, WhoamiIsAnsweredAtTheAddressItNamesNeverAtALookedUpName)
{
    const struct {
        const char* message;
        const char* from;
        const char* answer;
    } cases[] = {
        {"whoami;;", "192.168.1.20", "send * youare;192.168.1.20;"},
        {"whoami", "192.168.1.20", "send * youare;192.168.1.20;"},
        {"whoami;10.0.0.7;", "192.168.1.20", "send 10.0.0.7 youare;10.0.0.7;"},
        {"whoami;10.0.0.7", "10.0.0.9", "send 10.0.0.7 youare;10.0.0.7;"},
        {"whoami;localhost;", "10.0.0.9", "send * youare;localhost;"},
        {"whoami;127.0.0.1;", "10.0.0.9", "send * youare;127.0.0.1;"},
        {"whoami;255.255.255.255;", "10.0.0.9", "send * youare;255.255.255.255;"},
        {"whoami;10.0.0.256;", "10.0.0.9", "send * youare;10.0.0.256;"},
    };
    for (const auto& c : cases) {
        hear(c.message, c.from);
        EXPECT_THAT(take(), ElementsAre(c.answer)) << c.message;
    }
}

TEST_F(NodeRules, YouareTeachesTheAddressAndThanksTheSenderThankyouOnlyTeaches)
{
    hear("youare;10.0.0.2;", "10.0.0.1");
    EXPECT_THAT(take(), ElementsAre("log I'am 10.0.0.2", "send 10.0.0.1 thankyou;10.0.0.1;"));
    EXPECT_EQ(rules.countdown(), 3);

    C4NodeRules other(link);
    other.receive(text("thankyou;10.0.0.3"), ip("10.0.0.1"), false);
    EXPECT_THAT(take(), ElementsAre("log I'am 10.0.0.3"));
    EXPECT_EQ(bytes(other.ownAddress()), "10.0.0.3");
    EXPECT_EQ(other.countdown(), 2);
}

TEST_F(NodeRules, AKnownAddressIsKept)
{
    knowAs("10.0.0.2");
    hear("youare;10.0.0.3;");
    hear("thankyou;10.0.0.3;");
    EXPECT_THAT(take(), IsEmpty());
    EXPECT_EQ(bytes(rules.ownAddress()), "10.0.0.2");
    EXPECT_EQ(rules.countdown(), 3);
}

TEST_F(NodeRules, OnlyADottedAddressIsLearnt)
{
    for (const char* message : {"youare;;", "youare", "youare;phone.local;", "thankyou;10.0.0;", "thankyou;0.0.0.0;"})
        hear(message);
    EXPECT_THAT(take(), IsEmpty());
    EXPECT_TRUE(rules.ownAddress().empty());
    EXPECT_EQ(rules.countdown(), -1);
}

TEST_F(NodeRules, QuietPeriodsAfterLearningRepeatTheAnnouncementsOnce)
{
    rules.timeOut();
    rules.announce(text("media"));
    rules.search(text("radio"));
    take();
    knowAs("10.0.0.2");
    rules.timeOut();
    rules.timeOut();
    EXPECT_THAT(take(), IsEmpty());
    rules.timeOut();
    EXPECT_THAT(take(), ElementsAre("send * server;media;10.0.0.2;", "pause", "send 10.0.0.1 server;media;10.0.0.2;",
                                    "send * search;radio;10.0.0.2;"));
    EXPECT_EQ(rules.countdown(), 0);
    rules.timeOut();
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(NodeRules, AfterThankyouTwoQuietPeriodsAreEnough)
{
    rules.search(text("radio"));
    hear("thankyou;10.0.0.2;");
    take();
    rules.timeOut();
    EXPECT_THAT(take(), IsEmpty());
    rules.timeOut();
    EXPECT_THAT(take(), ElementsAre("send * search;radio;10.0.0.2;"));
}

} // namespace
} // namespace nodetest
