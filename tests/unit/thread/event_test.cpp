// Waitable events and the wait on two of them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "stopwatch.h"
#include "vcore/event.h"

namespace {

using vcore::event;

TEST(Event, ManualResetStaysSetUntilReset)
{
    event e(true, false);
    ASSERT_TRUE(e.valid());
    EXPECT_FALSE(e.wait(0));
    e.set();
    e.set();
    EXPECT_TRUE(e.wait(0));
    EXPECT_TRUE(e.wait(0));
    e.reset();
    EXPECT_FALSE(e.wait(0));

    event initially(true, true);
    EXPECT_TRUE(initially.wait(0));
}

TEST(Event, AutoResetIsTakenByOneWait)
{
    event e(false, true);
    EXPECT_TRUE(e.wait(0));
    EXPECT_FALSE(e.wait(0));
    // Setting a set event changes nothing: still one wait.
    e.set();
    e.set();
    EXPECT_TRUE(e.wait(0));
    EXPECT_FALSE(e.wait(0));
    e.set();
    e.reset();
    EXPECT_FALSE(e.wait(0));
}

TEST(Event, TimedWaitRunsOutAfterAboutItsTime)
{
    event e(true, false);
    stopwatch clock;
    EXPECT_FALSE(e.wait(60));
    EXPECT_GE(clock.ms(), 50);
    EXPECT_LT(clock.ms(), 3000);
}

TEST(Event, WaitWakesWhenAnotherThreadSets)
{
    for (bool manual : {true, false}) {
        event e(manual, false);
        int data = 0;
        std::thread setter([&] {
            sleepMs(30);
            data = 42;  // published by set()
            e.set();
        });
        stopwatch clock;
        EXPECT_TRUE(e.wait());
        EXPECT_EQ(data, 42);
        EXPECT_LT(clock.ms(), 3000);
        setter.join();
    }
}

TEST(Event, AutoResetReleasesOneOfTwoWaiters)
{
    event e(false, false);
    std::atomic<int> woken{0};
    auto waiter = [&] {
        if (e.wait(400))
            ++woken;
    };
    std::thread first(waiter), second(waiter);
    sleepMs(50);
    e.set();
    first.join();
    second.join();
    EXPECT_EQ(woken.load(), 1);
}

// A set that meets an event just taken by another thread must not be lost.
TEST(Event, AutoResetHandOverBetweenThreadsLosesNoSet)
{
    event ping(false, false), pong(false, false);
    constexpr int rounds = 2000;
    int answered = 0;
    std::thread other([&] {
        for (int i = 0; i < rounds && ping.wait(5000); ++i) {
            ++answered;
            pong.set();
        }
    });
    int completed = 0;
    for (int i = 0; i < rounds; ++i) {
        ping.set();
        if (!pong.wait(5000))
            break;
        ++completed;
    }
    other.join();
    EXPECT_EQ(completed, rounds);
    EXPECT_EQ(answered, rounds);
}

TEST(WaitAny, TellsWhichEventOrTimeOut)
{
    event a(true, false), b(false, false);
    EXPECT_EQ(vcore::waitAny(a, b, 0), -1);
    b.set();
    EXPECT_EQ(vcore::waitAny(a, b, 0), 1);
    EXPECT_EQ(vcore::waitAny(a, b, 0), -1);  // b was auto-reset and is taken
    a.set();
    EXPECT_EQ(vcore::waitAny(a, b, 0), 0);
    EXPECT_EQ(vcore::waitAny(a, b, 0), 0);  // a is manual-reset

    stopwatch clock;
    a.reset();
    EXPECT_EQ(vcore::waitAny(a, b, 50), -1);
    EXPECT_GE(clock.ms(), 40);
}

TEST(WaitAny, FirstWinsAndSecondKeepsItsState)
{
    event a(false, false), b(false, false);
    a.set();
    b.set();
    EXPECT_EQ(vcore::waitAny(a, b, 0), 0);
    EXPECT_TRUE(b.wait(0));
    EXPECT_FALSE(a.wait(0));
}

} // namespace
