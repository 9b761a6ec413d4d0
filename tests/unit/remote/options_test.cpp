// The command line, as people type it.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tools/remote/options.h"

namespace {

remote::parsed parse(std::initializer_list<const char16_t*> words)
{
    std::vector<vcore::str> args;
    for (const char16_t* w : words)
        args.push_back(vcore::str(w));
    return remote::parseOptions(args);
}

std::u16string text(const vcore::str& s)
{
    return std::u16string(s.data(), size_t(s.length()));
}

TEST(RemoteOptions, NoCommandIsAMediaSession)
{
    const remote::parsed p = parse({});
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(remote::verb::session, p.value.action);
    ASSERT_EQ(1u, p.value.classes.size());
    EXPECT_EQ(u"media", text(p.value.classes[0]));
    EXPECT_EQ(3000u, p.value.timeoutMs);
}

TEST(RemoteOptions, SendJoinsTheWordsOfTheCommand)
{
    const remote::parsed p = parse({u"--timeout", u"500", u"send", u"media", u"media.set_volume", u"50", u"--wait=250"});
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(remote::verb::send, p.value.action);
    EXPECT_EQ(u"media", text(p.value.classes[0]));
    EXPECT_EQ(u"media.set_volume 50", text(p.value.command));
    EXPECT_EQ(500u, p.value.timeoutMs);
    EXPECT_EQ(250u, p.value.waitMs);
}

TEST(RemoteOptions, DoubleDashLetsCommandWordsStartWithADash)
{
    const remote::parsed p = parse({u"send", u"media", u"--", u"media.seek", u"-5"});
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(u"media.seek -5", text(p.value.command));
}

TEST(RemoteOptions, DiscoverTakesSeveralClassesOrMedia)
{
    const remote::parsed some = parse({u"discover", u"media", u"system"});
    ASSERT_TRUE(some.ok());
    ASSERT_EQ(2u, some.value.classes.size());
    EXPECT_EQ(u"system", text(some.value.classes[1]));
    const remote::parsed none = parse({u"discover"});
    ASSERT_TRUE(none.ok());
    ASSERT_EQ(1u, none.value.classes.size());
    EXPECT_EQ(u"media", text(none.value.classes[0]));
}

TEST(RemoteOptions, NameAndHubAreKept)
{
    const remote::parsed p = parse({u"open", u"echo", u"--name", u"Kitchen tablet:dev", u"--hub", u"10.66.0.1"});
    ASSERT_TRUE(p.ok());
    EXPECT_EQ(remote::verb::open, p.value.action);
    EXPECT_EQ(u"Kitchen tablet:dev", text(p.value.name));
    EXPECT_EQ(u"10.66.0.1", text(p.value.hub));
}

TEST(RemoteOptions, HelpWinsOverEverythingElse)
{
    EXPECT_EQ(remote::verb::help, parse({u"send", u"media", u"x", u"--help"}).value.action);
    EXPECT_TRUE(parse({u"-h", u"frob"}).ok());
}

TEST(RemoteOptions, WrongCommandLinesAreRefusedWithAReason)
{
    const std::initializer_list<const char16_t*> wrong[] = {
        {u"frob"},                                  // unknown command
        {u"--colour"},                              // unknown option
        {u"open"},                                  // no class
        {u"open", u"media", u"system"},             // two classes
        {u"session", u"media", u"system"},
        {u"send", u"media"},                        // no command
        {u"open", u"me;dia"},                       // ';' would shift the protocol's fields
        {u"--name", u"a;b", u"open", u"media"},
        {u"--name", u"", u"open", u"media"},
        {u"--timeout"},                             // value missing
        {u"--timeout", u"0"},
        {u"--timeout", u"12ms"},
        {u"--timeout", u"3600001"},
        {u"--wait", u"-1"},
        {u"--hub", u"hub.local"},                   // names are never looked up
        {u"--hub", u"10.66.0"},
    };
    int line = 0;
    for (const auto& words : wrong) {
        const remote::parsed p = parse(words);
        EXPECT_FALSE(p.ok()) << "case " << line;
        ++line;
    }
}

} // namespace
