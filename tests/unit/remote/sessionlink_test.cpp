// The client's session port on loopback: 127.0.0.2 plays the hub, 127.0.0.3 a stranger.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "support.h"
#include "tools/remote/sessionlink.h"

namespace {

using namespace std::chrono_literals;
using nettest::peer;

constexpr uint32_t hubAddress = nettest::loopback2;
constexpr uint32_t stranger = nettest::loopback3;

class RemoteSessionLink : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!nettest::sourceKept(hubAddress) || !nettest::sourceKept(stranger))
            GTEST_SKIP() << "loopback sources are not kept here";
        // A number nobody holds: the system's choice for a socket that is then let go.
        peer probe;
        ASSERT_TRUE(probe.bind(nettest::loopback, 0));
        port = probe.port();
        probe.close();
        ASSERT_TRUE(link.open(remote::sessionInfo{vcore::str(u"media"), vcore::str(u"127.0.0.2"), port}));
        ASSERT_TRUE(hub.bind(hubAddress) && other.bind(stranger));
    }

    std::vector<std::string> seen()
    {
        std::lock_guard<std::mutex> hold(lock);
        return reports;
    }

    std::mutex lock;
    std::vector<std::string> reports;
    remote::sessionLink link{[this](const vcore::str& report) {
        vcore::str copy(report);
        std::lock_guard<std::mutex> hold(lock);
        reports.push_back(copy.narrow());
    }};
    uint32_t port = 0;
    peer hub, other;
};

TEST_F(RemoteSessionLink, HandsOnTheHubsReportsOnly)
{
    ASSERT_TRUE(other.sendTo("media.volume 0.10", nettest::loopback, port));
    ASSERT_TRUE(hub.sendTo(std::string("media.volume 0.25\0junk", 22), nettest::loopback, port));
    ASSERT_TRUE(hub.sendTo("media.title Song", nettest::loopback, port));
    ASSERT_TRUE(nettest::waitUntil([&] { return seen().size() >= 2; }, 3000ms));
    std::this_thread::sleep_for(50ms);
    const std::vector<std::string> expected{"media.volume 0.25", "media.title Song"};
    EXPECT_EQ(expected, seen());
}

TEST_F(RemoteSessionLink, KnowsWhenTheServiceSaidGoodbye)
{
    EXPECT_FALSE(link.waitForClose(std::chrono::steady_clock::now() + 50ms));
    ASSERT_TRUE(other.sendTo("media.close", nettest::loopback, port));
    EXPECT_FALSE(link.waitForClose(std::chrono::steady_clock::now() + 200ms));
    ASSERT_TRUE(hub.sendTo("media.close", nettest::loopback, port));
    EXPECT_TRUE(link.waitForClose(std::chrono::steady_clock::now() + 3s));
}

} // namespace
