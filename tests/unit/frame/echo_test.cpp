// The echo plug-in, a real library on the frame, loaded and driven through the plug-in host.
#include <gtest/gtest.h>

#include <thread>

#include "../host/support.h"
#include "hub/host/pluginhost.h"
#include "support.h"

using namespace hosttest;
using nettest::loopback;
using nettest::loopback2;
using nettest::peer;

namespace {

class Echo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(host.loadFolder(text(testPlugins() / "echo")), 1);
        echo = &host.plugin(0);
    }

    PluginHost host;
    recorder events{host};
    ravPlugin* echo = nullptr;
};

bool startsWith(const std::string& line, const std::string& prefix)
{
    return line.rfind(prefix, 0) == 0;
}

} // namespace

TEST_F(Echo, LoadsAsTheTestInstanceOfTheEchoClass)
{
    EXPECT_EQ(events.lines("log"), (std::vector<std::string>{
        std::string("plugin: Tolvanu_echo") + TOLVANU_LIBRARY_SUFFIX + " (service echo) loaded"}));
    EXPECT_EQ(narrow(vcore::str(echo->className())), "echo");
    EXPECT_EQ(narrow(echo->instanceName()), "Test");
    EXPECT_EQ(echo->orderKey(), 1);
}

TEST_F(Echo, ConnectGivesTheSessionPortAndKeepsIt)
{
    const int port = host.connect(u"echo");
    ASSERT_GT(port, 0);
    EXPECT_TRUE(echo->busy());
    EXPECT_EQ(host.connect(u"ECHO.test"), port);
    EXPECT_EQ(host.connect(u"media"), 0);
    host.close(u"media");  // another class: the echo session is left alone
    EXPECT_FALSE(events.waitFor("log", [](const std::string& l) { return startsWith(l, "[media>"); }, 200ms));
}

TEST_F(Echo, TextsFromThisHostGoUnanswered)
{
    const int port = host.connect(u"echo");
    ASSERT_GT(port, 0);
    peer local;
    ASSERT_TRUE(local.bind(loopback));
    ASSERT_TRUE(local.sendTo("hello there", loopback, uint32_t(port)));
    EXPECT_FALSE(events.waitFor("log", [](const std::string& l) { return startsWith(l, "[media"); }, 500ms));
    EXPECT_FALSE(events.waitFor("log", [](const std::string& l) { return startsWith(l, "echo:"); }, 10ms));
}

// A client at 127.0.0.2 is not this host as far as the port is concerned. Its answers go to
// 127.0.0.2 at the session's own port number, where nobody but the session listens.
TEST_F(Echo, AClientIsAnsweredPolledAndToldOfTheClose)
{
    if (!nettest::sourceKept(loopback2))
        GTEST_SKIP() << "this system sends from 127.0.0.1 whatever the socket is bound to";
    const int port = host.connect(u"echo");
    ASSERT_GT(port, 0);
    peer client;
    ASSERT_TRUE(client.bind(loopback2));
    ASSERT_TRUE(client.sendTo("Hello World", loopback, uint32_t(port)));
    EXPECT_TRUE(events.waitForLine("log", "[media:127.0.0.2] Hello World"));
    EXPECT_TRUE(events.waitForLine("log", "echo: hello"));
    EXPECT_TRUE(events.waitForLine("log", "[media>127.0.0.2] echo.reply hello World"));

    ASSERT_TRUE(client.sendTo("media.get_state", loopback, uint32_t(port)));
    EXPECT_TRUE(events.waitForLine("log", "[media>127.0.0.2] echo.ping"));

    host.close(u"echo");
    EXPECT_TRUE(events.contains("log", "[media>127.0.0.2] media.close"));
    EXPECT_FALSE(echo->busy());
    const size_t before = events.lines("log").size();
    ASSERT_TRUE(client.sendTo("after the close", loopback, uint32_t(port)));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(events.lines("log").size(), before) << "the session port is closed";
}

TEST_F(Echo, CloseWithoutASessionOnlyLogsTheFailedReport)
{
    host.close(u"echo");
    EXPECT_TRUE(events.contains("log", "[media>all] media.close"));
    EXPECT_FALSE(echo->busy());
}

// Nobody spoke, so "media.close" goes to the broadcast address: only inside a network of our own.
TEST_F(Echo, CloseTellsEveryoneWhenNoClientSpoke)
{
    if (!nettest::broadcastContained())
        GTEST_SKIP() << "a broadcast would leave this host";
    ASSERT_GT(host.connect(u"echo"), 0);
    host.close(u"echo");
    EXPECT_TRUE(events.contains("log", "[media>all] media.close"));
    EXPECT_FALSE(echo->busy());
}
