// Worker threads: start, stop, restart and destruction.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "stopwatch.h"
#include "worker.h"

namespace {

using vcore::event;

TEST(Winthread, RunsToItsEndAndRestarts)
{
    std::atomic<int> runs{0};
    auto w = std::make_unique<worker>([&](worker&) { ++runs; });
    EXPECT_FALSE(w->isRunning());
    ASSERT_TRUE(w->start());
    ASSERT_TRUE(w->finishedEvent().wait(5000));
    EXPECT_FALSE(w->isRunning());
    EXPECT_EQ(runs.load(), 1);

    ASSERT_TRUE(w->start());
    ASSERT_TRUE(w->finishedEvent().wait(5000));
    EXPECT_EQ(runs.load(), 2);

    // Its thread has finished: nothing to wait for.
    stopwatch clock;
    w.reset();
    EXPECT_LT(clock.ms(), 100);
}

TEST(Winthread, StopEndsARunThatWaitsForIt)
{
    event started(true, false);
    std::atomic<bool> ended{false};
    worker w([&](worker& self) {
        started.set();
        ended = self.waitStop();
    });
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(started.wait(5000));
    EXPECT_TRUE(w.isRunning());
    EXPECT_FALSE(w.stopEvent().wait(0));

    stopwatch clock;
    w.stop(5000);
    EXPECT_LT(clock.ms(), 2000);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(w.stopEvent().wait(0));
    EXPECT_TRUE(w.finishedEvent().wait(0));
    EXPECT_FALSE(w.isRunning());
}

TEST(Winthread, WaitStopWithAnotherEventTellsThemApart)
{
    event other(false, false), otherSeen(false, false), ready(true, false);
    std::atomic<bool> timedOut{false}, stopped{false};
    std::atomic<int> otherWakes{0};
    worker w([&](worker& self) {
        timedOut = !self.waitStop(other, 30);
        ready.set();
        while (!self.waitStop(other)) {
            ++otherWakes;
            otherSeen.set();
        }
        stopped = true;
    });
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(ready.wait(5000));
    other.set();
    ASSERT_TRUE(otherSeen.wait(5000));
    EXPECT_EQ(otherWakes.load(), 1);

    w.stop(5000);
    EXPECT_TRUE(timedOut);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(otherWakes.load(), 1);
}

TEST(Winthread, StopZeroEndsARunThatIgnoresItAndLeavesItRestartable)
{
    std::atomic<bool> release{false};
    std::atomic<int> entered{0};
    event firstIn(true, false);
    worker w([&](worker& self) {
        if (++entered == 1) {
            firstIn.set();
            while (!release)
                sleepMs(1);
        } else {
            self.waitStop();
        }
    });
    releaseOnExit guard{release};
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(firstIn.wait(5000));

    stopwatch clock;
    w.stop(0);
    EXPECT_LT(clock.ms(), 1000);
    EXPECT_TRUE(w.finishedEvent().wait(0));
    EXPECT_FALSE(w.isRunning());

    ASSERT_TRUE(w.start());
    ASSERT_TRUE(eventually([&] { return entered == 2; }));
    EXPECT_TRUE(w.isRunning());
    // Where the first run could not be ended it returns now: that must not finish the second.
    release = true;
    sleepMs(50);
    EXPECT_TRUE(w.isRunning());
    EXPECT_FALSE(w.finishedEvent().wait(0));

    w.stop(5000);
    EXPECT_TRUE(w.finishedEvent().wait(0));
}

TEST(Winthread, StartStopsThePreviousRunFirst)
{
    std::atomic<int> entered{0}, ended{0};
    worker w([&](worker& self) {
        ++entered;
        self.waitStop();
        ++ended;
    });
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(eventually([&] { return entered == 1; }));
    ASSERT_TRUE(w.start());
    EXPECT_EQ(ended.load(), 1);
    ASSERT_TRUE(eventually([&] { return entered == 2; }));
    EXPECT_TRUE(w.isRunning());
    EXPECT_FALSE(w.stopEvent().wait(0));
    w.stop(5000);
    EXPECT_EQ(ended.load(), 2);
}

TEST(Winthread, ARunCannotRestartOrWaitForItself)
{
    std::atomic<bool> restarted{true}, stopSeen{false};
    std::atomic<long long> stopTook{-1};
    worker w([&](worker& self) {
        restarted = self.start();
        stopwatch clock;
        self.stop(5000);
        self.kill();
        stopSeen = self.stopRequested() && self.waitStop();
        stopTook = clock.ms();
    });
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(w.finishedEvent().wait(5000));
    EXPECT_FALSE(restarted);
    EXPECT_TRUE(stopSeen);
    EXPECT_LT(stopTook.load(), 1000);
}

TEST(Winthread, StopWithoutAThreadDoesNotWait)
{
    worker w([](worker&) {});
    stopwatch clock;
    w.stop(2000);
    w.kill();
    EXPECT_LT(clock.ms(), 1000);
    EXPECT_FALSE(w.isRunning());
}

// Its run touches only base members, so the base destructor alone may end it.
std::atomic<bool> plainEnded{false};
class plain : public vwin::winthread {
public:
    event started{true, false};

protected:
    void run() override
    {
        started.set();
        waitStop();
        plainEnded = true;
    }
};

TEST(Winthread, DestructionStopsARunningThread)
{
    plainEnded = false;
    auto w = std::make_unique<plain>();
    ASSERT_TRUE(w->start());
    ASSERT_TRUE(w->started.wait(5000));
    stopwatch clock;
    w.reset();
    EXPECT_LT(clock.ms(), 1000);
    EXPECT_TRUE(plainEnded);
}

event selfDeleted(false, false);
class selfDeleting : public vwin::winthread {
protected:
    void run() override
    {
        delete this;
        selfDeleted.set();
    }
};

TEST(Winthread, ARunMayDestroyItsOwnObject)
{
    auto* w = new selfDeleting;
    ASSERT_TRUE(w->start());
    EXPECT_TRUE(selfDeleted.wait(5000));
    sleepMs(20);  // lets the thread's own ending run under the sanitizers
}

} // namespace
