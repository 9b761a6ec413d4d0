// Sessions: open and connect, the one client an open entry belongs to, and closing.
#include <gmock/gmock.h>

#include <climits>

#include "fakes.h"

namespace nodetest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Sessions : public NodeRules {
protected:
    Sessions()
    {
        knowAs("10.0.0.2");
        rules.announce(text("media"));
        rules.search(text("radio"));
        take();
    }
    bool isOpen(int index) { return rules.services().at(size_t(index)).open; }
};

TEST_F(Sessions, AnOpenEntryAnswersOnlyTheClientItBelongsTo)
{
    hear("open;media;10.0.0.9;Phone:1234;", "10.0.0.9");
    EXPECT_THAT(take(), ElementsAre("openRequested media Phone:1234", "send 10.0.0.9 connect;media;10.0.0.2;51000;"));
    EXPECT_TRUE(isOpen(0));
    EXPECT_EQ(bytes(rules.services()[0].peer), "10.0.0.9");

    hear("open;media;10.0.0.8;Tablet:77;", "10.0.0.8");
    EXPECT_THAT(take(), IsEmpty());

    owner.port = 51001;
    hear("open;media;10.0.0.9;Phone:1234", "10.0.0.9");
    EXPECT_THAT(take(), ElementsAre("openRequested media Phone:1234", "send 10.0.0.9 connect;media;10.0.0.2;51001;"));
}

TEST_F(Sessions, ARefusedOpenGetsNoAnswer)
{
    owner.allow = false;
    hear("open;media;10.0.0.9;Phone:1234;");
    EXPECT_THAT(take(), ElementsAre("openRequested media Phone:1234"));
    EXPECT_FALSE(isOpen(0));
    owner.allow = true;
    hear("open;media;10.0.0.8", "10.0.0.8");
    EXPECT_THAT(take(), ElementsAre("openRequested media ", "send 10.0.0.8 connect;media;10.0.0.2;51000;"));
}

TEST_F(Sessions, OpenIsForOfferedServicesOnly)
{
    for (const char* message : {"open;radio;10.0.0.9;Phone:1;", "open;Media;10.0.0.9;Phone:1;", "open;;;;", "open"})
        hear(message);
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(Sessions, ConnectReadsItsPortDecimalOrAfter0xHexadecimal)
{
    owner.take = false;
    const struct {
        const char* field;
        int32_t port;
    } cases[] = {{"0x1A0B", 6667}, {"6667", 6667}, {"abc", 0}, {"", 0}, {"99999999999", INT32_MAX}, {"12ab", 12}};
    for (const auto& c : cases) {
        hear(std::string("connect;radio;10.0.0.1;") + c.field + ";");
        EXPECT_THAT(take(), ElementsAre("connectOffered radio 10.0.0.1 " + std::to_string(c.port))) << c.field;
    }
    hear("connect;radio");
    EXPECT_THAT(take(), ElementsAre("connectOffered radio  0"));
    EXPECT_FALSE(isOpen(1));
    hear("connect;media;10.0.0.1;6667;");
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(Sessions, CloseEndsOnlyAnOpenSession)
{
    hear("close;radio;");
    EXPECT_THAT(take(), IsEmpty());
    hear("connect;radio;10.0.0.1;6667;");
    EXPECT_TRUE(isOpen(1));
    take();
    hear("close;radio");
    EXPECT_THAT(take(), ElementsAre("sessionClosed radio"));
    EXPECT_FALSE(isOpen(1));
    hear("close;radio;");
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(Sessions, ClosingTheSessionsTellsTheOwnerThenThePeer)
{
    hear("open;media;10.0.0.9;Phone:1;");
    hear("connect;radio;10.0.0.1;6667;");
    rules.announce(text("system"));
    take();
    rules.closeSessions();
    EXPECT_THAT(take(), ElementsAre("sessionClosed media", "send 10.0.0.9 close;media;", "sessionClosed radio",
                                    "send 10.0.0.1 close;radio;"));
    rules.closeSessions();
    EXPECT_THAT(take(), IsEmpty());
}

TEST_F(Sessions, APeerThatIsNoAddressIsClosedByBroadcast)
{
    hear("open;media;phone.local;Phone:1;", "10.0.0.9");
    take();
    rules.closeSessions();
    EXPECT_THAT(take(), ElementsAre("sessionClosed media", "send * close;media;"));
}

} // namespace
} // namespace nodetest
