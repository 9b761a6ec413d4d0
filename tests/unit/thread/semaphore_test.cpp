// Count-1 locks with timed waits.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "stopwatch.h"
#include "vcore/semaphore.h"

namespace {

TEST(Semaphore, DefaultIsOneCountLock)
{
    vcore::semaphore lock;
    EXPECT_TRUE(lock.wait(0));
    EXPECT_FALSE(lock.wait(0));
    EXPECT_TRUE(lock.release());
    EXPECT_FALSE(lock.release());  // already at its maximum
    EXPECT_TRUE(lock.wait(0));
    EXPECT_FALSE(lock.wait(0));
}

TEST(Semaphore, CountsUpToItsMaximum)
{
    vcore::semaphore slots(0, 3);
    EXPECT_FALSE(slots.wait(0));
    EXPECT_TRUE(slots.release());
    EXPECT_TRUE(slots.release());
    EXPECT_TRUE(slots.release());
    EXPECT_FALSE(slots.release());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(slots.wait(0));
    EXPECT_FALSE(slots.wait(0));

    vcore::semaphore clamped(5, 2);
    EXPECT_TRUE(clamped.wait(0));
    EXPECT_TRUE(clamped.wait(0));
    EXPECT_FALSE(clamped.wait(0));
}

TEST(Semaphore, TimedWaitRunsOutOrIsWokenByRelease)
{
    vcore::semaphore lock(0, 1);
    stopwatch clock;
    EXPECT_FALSE(lock.wait(60));
    EXPECT_GE(clock.ms(), 50);

    std::thread releaser([&] {
        sleepMs(30);
        lock.release();
    });
    EXPECT_TRUE(lock.wait(5000));
    EXPECT_LT(clock.ms(), 4000);
    releaser.join();
}

TEST(Semaphore, GuardsStateSharedBetweenThreads)
{
    vcore::semaphore lock;
    long shared = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                ASSERT_TRUE(lock.wait());
                ++shared;
                lock.release();
            }
        });
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(shared, 8000);
}

} // namespace
