// The apartment thread of both kinds: bounded waits, jobs called off, a full queue, the
// farewell, and a hung job at stop.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>
#include <objbase.h>
#include <windows.h>

#include "stopwatch.h"
#include "vcore/event.h"
#include "vwin/apartmentthread.h"
#include "worker.h"

namespace {

using vwin::apartmentThread;
using outcome = apartmentThread::outcome;
using kind = apartmentThread::kind;

// What a job and the test share; held by value, since a job may outlive the test's wait.
struct gate {
    vcore::event entered{true, false};
    vcore::event open{true, false};
    std::atomic<int> finished{0};
};

std::function<void()> blockingJob(std::shared_ptr<gate> g)
{
    return [g] {
        g->entered.set();
        g->open.wait(10000);
        ++g->finished;
    };
}

class ApartmentThread : public ::testing::TestWithParam<kind> {
protected:
    apartmentThread thread{GetParam()};
};

TEST_P(ApartmentThread, RunsAJobInItsOwnApartmentWithinTheWait)
{
    ASSERT_TRUE(thread.start());
    APTTYPE type = APTTYPE_CURRENT;
    APTTYPEQUALIFIER qualifier;
    bool onThread = false;
    EXPECT_EQ(thread.run([&] {
        onThread = thread.onThread();
        CoGetApartmentType(&type, &qualifier);
    }, 5000), outcome::done);
    EXPECT_TRUE(onThread);
    EXPECT_FALSE(thread.onThread());
    // The first single-threaded apartment of a process is its main one.
    if (GetParam() == kind::singleThreaded)
        EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA) << type;
    else
        EXPECT_EQ(type, APTTYPE_MTA);
    int inner = 0;
    auto nested = [&] { EXPECT_EQ(thread.run([&] { inner = 1; }, 0), outcome::done); };
    EXPECT_EQ(thread.run(nested, 5000), outcome::done) << "a job of its own thread runs inline";
    EXPECT_EQ(inner, 1);
}

TEST_P(ApartmentThread, AJobBegunRunsOnPastTheWaitOneNotBegunIsCalledOff)
{
    ASSERT_TRUE(thread.start());
    auto g = std::make_shared<gate>();
    stopwatch clock;
    EXPECT_EQ(thread.run(blockingJob(g), 500), outcome::pending);
    EXPECT_LT(clock.ms(), 2000);
    auto calledOff = std::make_shared<std::atomic<int>>(0);
    auto bound = std::make_shared<std::atomic<int>>(0);
    EXPECT_EQ(thread.run([calledOff] { ++*calledOff; }, 50), outcome::calledOff);
    EXPECT_EQ(thread.run([bound] { ++*bound; }, 50, true), outcome::pending);
    g->open.set();
    EXPECT_EQ(thread.run([] {}, 5000), outcome::done);
    EXPECT_EQ(g->finished, 1);
    EXPECT_EQ(*bound, 1) << "one that must run runs after the wait";
    EXPECT_EQ(*calledOff, 0);
}

TEST_P(ApartmentThread, RefusesJobsBeforeStartPastTheQueuesBoundAndAfterStop)
{
    apartmentThread thread(GetParam(), 2);
    EXPECT_EQ(thread.run([] {}, 100), outcome::refused);
    ASSERT_TRUE(thread.start());
    auto g = std::make_shared<gate>();
    EXPECT_EQ(thread.run(blockingJob(g), 0, true), outcome::pending);
    ASSERT_TRUE(g->entered.wait(5000));
    auto queuedRan = std::make_shared<std::atomic<int>>(0);
    EXPECT_EQ(thread.run([queuedRan] { ++*queuedRan; }, 0, true), outcome::pending);
    EXPECT_EQ(thread.run([queuedRan] { ++*queuedRan; }, 0, true), outcome::pending);
    stopwatch clock;
    EXPECT_EQ(thread.run([queuedRan] { ++*queuedRan; }, 2000, true), outcome::refused);
    EXPECT_LT(clock.ms(), 1000) << "refused at once, not after the wait";
    g->open.set();
    ASSERT_TRUE(eventually([&] { return *queuedRan == 2; }));
    EXPECT_EQ(thread.run([] {}, 5000), outcome::done) << "room again once the queue drained";
    EXPECT_TRUE(thread.stop(5000));
    EXPECT_EQ(thread.run([] {}, 100), outcome::refused);
    EXPECT_FALSE(thread.start()) << "a stopped thread stays stopped";
}

TEST_P(ApartmentThread, TheFarewellRunsLastOnTheThreadAfterWhatWasQueued)
{
    auto order = std::make_shared<std::vector<int>>();
    bool farewellOnThread = false;
    thread.setFarewell([&, order] {
        farewellOnThread = thread.onThread();
        order->push_back(2);
    });
    ASSERT_TRUE(thread.start());
    auto g = std::make_shared<gate>();
    thread.run(blockingJob(g), 0, true);
    thread.run([order] { order->push_back(1); }, 0, true);
    g->open.set();
    EXPECT_TRUE(thread.stop(5000));
    EXPECT_EQ(*order, (std::vector<int>{1, 2}));
    EXPECT_TRUE(farewellOnThread);
}

TEST_P(ApartmentThread, AHungJobIsLeftBehindAndNothingElseRunsWhenItReturns)
{
    auto g = std::make_shared<gate>();
    auto after = std::make_shared<std::atomic<int>>(0);
    {
        auto owner = std::make_unique<apartmentThread>(GetParam());
        owner->setFarewell([after] { ++*after; });
        ASSERT_TRUE(owner->start());
        owner->run(blockingJob(g), 0, true);
        ASSERT_TRUE(g->entered.wait(5000));
        owner->run([after] { ++*after; }, 0, true);
        stopwatch clock;
        EXPECT_FALSE(owner->stop(200));
        EXPECT_LT(clock.ms(), 2000);
        EXPECT_EQ(owner->run([] {}, 100), outcome::refused);
    }
    // The owner is gone; the thread returns from the hung call into state it still holds.
    g->open.set();
    ASSERT_TRUE(eventually([&] { return g->finished == 1; }));
    sleepMs(100);
    EXPECT_EQ(*after, 0) << "neither the queued job nor the farewell ran";
}

TEST_P(ApartmentThread, AHungJobCanBeEndedWhereItStands)
{
    auto g = std::make_shared<gate>();
    ASSERT_TRUE(thread.start());
    thread.run(blockingJob(g), 0, true);
    ASSERT_TRUE(g->entered.wait(5000));
    stopwatch clock;
    EXPECT_FALSE(thread.stop(200, apartmentThread::ifHung::terminate));
    EXPECT_LT(clock.ms(), 2000);
    g->open.set();
    sleepMs(100);
    EXPECT_EQ(g->finished, 0);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, ApartmentThread,
                         ::testing::Values(kind::singleThreaded, kind::multithreaded), [](const auto& info) {
                             return info.param == kind::singleThreaded ? "singleThreaded" : "multithreaded";
                         });

} // namespace
