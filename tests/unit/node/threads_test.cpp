// The port's worker and the hub's thread use the rules at once (start-up, console, exit).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "fakes.h"

namespace nodetest {
namespace {

class countingLink : public C4Link {
public:
    std::atomic<int> sent{0};
    void send(const vcore::str&, uint32_t) override { ++sent; }
    void log(const vcore::str&) override {}
    void reportAddress(const vcore::str&) override {}
    void pause() override {}
    std::vector<uint32_t> localAddresses() override { return {}; }
};

class countingOwner : public C4Interface {
public:
    std::atomic<int> opened{0}, closed{0};
    void serverFound(const vcore::str&, const vcore::str&) override {}
    bool openRequested(const vcore::str&, const vcore::str&, int32_t& port) override
    {
        port = 6638;
        ++opened;
        return true;
    }
    bool connectOffered(const vcore::str&, const vcore::str&, int32_t) override { return true; }
    void sessionClosed(const vcore::str&) override { ++closed; }
};

TEST(NodeRulesThreads, TheTableGrowsAndClosesWhileMessagesArrive)
{
    countingLink link;
    countingOwner owner;
    C4NodeRules rules(link);
    rules.attach(&owner);
    rules.announce(text("media"));
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            rules.receive(text("open;media;10.0.0.9;Phone:1;"), ip("10.0.0.9"), false);
            rules.receive(text("search;s" + std::to_string(i % 300) + ";"), ip("10.0.0.9"), false);
        }
    });
    for (int i = 0; i < 300; ++i) {
        rules.announce(text("s" + std::to_string(i)));
        rules.closeSessions();
    }
    worker.join();
    rules.closeSessions();
    EXPECT_EQ(rules.services().size(), 301u);
    EXPECT_EQ(owner.opened, 2000);
    EXPECT_GE(owner.closed, 1);
    EXPECT_FALSE(rules.services()[0].open);
}

} // namespace
} // namespace nodetest
