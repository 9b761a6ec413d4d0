// Threads cannot be terminated here: a stuck run is let go and waited for at the end.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "stopwatch.h"
#include "worker.h"

namespace {

using vcore::event;

TEST(WinthreadPosix, ARunLetGoSeesItsOwnStopAfterARestart)
{
    std::atomic<bool> release{false}, sawStop{false};
    std::atomic<int> entered{0};
    std::atomic<long long> waitStopTook{-1};
    event firstIn(true, false), firstDone(true, false);
    worker w([&](worker& self) {
        if (++entered > 1) {
            self.waitStop();
            return;
        }
        firstIn.set();
        while (!release)
            sleepMs(1);
        sawStop = self.stopRequested();
        stopwatch clock;
        self.waitStop();
        waitStopTook = clock.ms();
        firstDone.set();
    });
    releaseOnExit guard{release};
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(firstIn.wait(5000));
    w.stop(0);
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(eventually([&] { return entered == 2; }));

    release = true;
    ASSERT_TRUE(firstDone.wait(5000));
    EXPECT_TRUE(sawStop);
    EXPECT_LT(waitStopTook.load(), 1000);
    EXPECT_TRUE(w.isRunning());
}

TEST(WinthreadPosix, ShutdownWaitsForARunThatWasLetGo)
{
    std::atomic<bool> release{false}, ended{false};
    event in(true, false);
    auto w = std::make_unique<worker>([&](worker&) {
        in.set();
        while (!release)
            sleepMs(1);
        ended = true;
    });
    releaseOnExit guard{release};
    ASSERT_TRUE(w->start());
    ASSERT_TRUE(in.wait(5000));
    w->stop(0);
    EXPECT_FALSE(ended);

    std::thread releaser([&] {
        sleepMs(100);
        release = true;
    });
    stopwatch clock;
    w.reset();
    EXPECT_TRUE(ended);
    EXPECT_GE(clock.ms(), 50);
    releaser.join();
}

TEST(WinthreadPosix, ManyRestartsOfStuckRunsKeepNoneBehind)
{
    std::atomic<bool> release{false};
    std::atomic<int> running{0};
    {
        worker w([&](worker&) {
            ++running;
            while (!release)
                sleepMs(1);
            --running;
        });
        releaseOnExit guard{release};
        for (int i = 0; i < 5; ++i) {
            ASSERT_TRUE(w.start());
            ASSERT_TRUE(eventually([&] { return running == i + 1; }));
            w.kill();
        }
        release = true;
    }
    EXPECT_EQ(running.load(), 0);
}

} // namespace
