// Finding services: announcements, searches and the "server" answers.
#include <gmock/gmock.h>

#include "fakes.h"

namespace nodetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(NodeRules, ASearchForAnOfferedServiceIsAnsweredToAllAndToTheSearcher)
{
    knowAs("10.0.0.2");
    rules.announce(text("media"));
    take();
    hear("search;media;10.0.0.9;", "10.0.0.9");
    EXPECT_THAT(take(), ElementsAre("send * server;media;10.0.0.2;", "pause", "send 10.0.0.9 server;media;10.0.0.2;"));
}

TEST_F(NodeRules, SearchesMatchOfferedNamesExactly)
{
    knowAs("10.0.0.2");
    rules.announce(text("media"));
    rules.search(text("radio"));
    take();
    for (const char* message : {"search;Media;10.0.0.9;", "search;media ;", "search;;", "search", "search;radio;"})
        hear(message);
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(NodeRules, WithoutAnOwnAddressEachLocalAddressIsAnnouncedToTheLastSender)
{
    link.locals = {ip("10.0.0.2"), ip("10.0.0.3")};
    rules.announce(text("media"));
    EXPECT_THAT(take(), ElementsAre("send * server;media;10.0.0.2;", "send * server;media;10.0.0.3;"));
    hear("hello", "10.0.0.9");
    rules.announce(text("media"));
    EXPECT_THAT(take(), ElementsAre("send 10.0.0.9 server;media;10.0.0.2;", "send 10.0.0.9 server;media;10.0.0.3;"));
    ASSERT_EQ(rules.services().size(), 1u);
    EXPECT_TRUE(rules.services()[0].offered);
}

TEST_F(NodeRules, ServerIsReportedForWantedServicesWithoutSession)
{
    knowAs("10.0.0.2");
    rules.announce(text("media"));
    rules.search(text("radio"));
    take();
    hear("server;media;10.0.0.5;");
    hear("server;radio;10.0.0.5;");
    hear("server;radio;10.0.0.6");
    EXPECT_THAT(take(), ElementsAre("serverFound radio 10.0.0.5", "serverFound radio 10.0.0.6"));
    hear("connect;radio;10.0.0.5;6640;");
    take();
    hear("server;radio;10.0.0.6;");
    EXPECT_THAT(take(), IsEmpty());
    rules.search(text("radio"));  // a search starts over
    hear("server;radio;10.0.0.6;");
    EXPECT_THAT(take(), ElementsAre("send * search;radio;10.0.0.2;", "serverFound radio 10.0.0.6"));
}

TEST_F(NodeRules, AFoundServerCanBeOpenedFromTheCallback)
{
    knowAs("10.0.0.2");
    rules.search(text("radio"));
    owner.found = [&](const vcore::str& service, const vcore::str& address) {
        rules.requestOpen(service, address, text("PC-7"));
    };
    take();
    hear("server;radio;10.0.0.5;");
    hear("server;radio;radio.local;");
    EXPECT_THAT(take(), ElementsAre("serverFound radio 10.0.0.5", "send 10.0.0.5 open;radio;10.0.0.2;PC-7;",
                                    "serverFound radio radio.local", "send * open;radio;10.0.0.2;PC-7;"));
}

} // namespace
} // namespace nodetest
