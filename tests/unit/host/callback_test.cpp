// The callback plug-ins call into the hub with: which commands it knows and what it answers.
#include <gtest/gtest.h>

#include "hub/host/hostcallback.h"
#include "hub/host/pluginhost.h"
#include "support.h"

using namespace hosttest;

TEST(Callback, APlugInHearsTheAnswersAcrossTheLibraryBoundary)
{
    scratch folder;
    folder.addOdd({"probe"});
    PluginHost host;
    recorder events(host);
    ASSERT_EQ(host.loadFolder(folder.folder()), 1);
    // log 1, reg_get 1 (one handler, whatever the setting), ip 1, unknown 0, no argument 1,
    // no command 0.
    EXPECT_EQ(narrow(host.plugin(0).instanceName()), "L1R1I1O0N1C0");
    EXPECT_EQ(events.lines("reg_get"), (std::vector<std::string>{"no.such.setting"}));
    EXPECT_EQ(events.lines("ip"), (std::vector<std::string>{"odd 10.1.2.3"}));
    ASSERT_GE(events.lines("log").size(), 2u);
    EXPECT_EQ(events.lines("log")[0], "odd probe says hello");
    EXPECT_EQ(events.lines("log")[1], "");
}

TEST(Callback, RegGetAnswersHowManyHandlersTookIt)
{
    PluginHost host;
    EXPECT_EQ(hub::HostCallback(u"reg_get", u"security"), 0);
    recorder twice(host, 2);
    EXPECT_EQ(hub::HostCallback(u"REG_GET", u"security"), 2);
}

TEST(Callback, CommandsIgnoreOnlyAsciiCase)
{
    PluginHost host;
    recorder events(host);
    EXPECT_EQ(hub::HostCallback(u"Log", u"a"), 1);
    EXPECT_EQ(hub::HostCallback(u"IP", u"b 1.2.3.4"), 1);
    EXPECT_EQ(hub::HostCallback(u"log ", u"c"), 0);
    EXPECT_EQ(hub::HostCallback(u"\u0131p", u"d"), 0);  // dotless i is no I
    EXPECT_EQ(hub::HostCallback(u"", u"e"), 0);
    EXPECT_EQ(events.lines("log"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(events.lines("ip"), (std::vector<std::string>{"b 1.2.3.4"}));
}

TEST(Callback, WithoutAHostNothingAnswers)
{
    EXPECT_EQ(hub::HostCallback(u"log", u"nobody listens"), 0);
    {
        PluginHost first;
        recorder events(first);
        PluginHost second;  // only one host is reachable: the first stays it
        EXPECT_EQ(hub::HostCallback(u"log", u"to the first"), 1);
        EXPECT_EQ(events.lines("log"), (std::vector<std::string>{"to the first"}));
    }
    EXPECT_EQ(hub::HostCallback(u"log", u"gone"), 0);
}
