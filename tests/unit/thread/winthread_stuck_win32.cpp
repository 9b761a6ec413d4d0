// Windows ends stuck threads for real, and every worker lives in the multithreaded apartment.
#include <gtest/gtest.h>

#include <atomic>
#include <objbase.h>
#include <windows.h>

#include "stopwatch.h"
#include "vcore/semaphore.h"
#include "worker.h"

namespace {

using vcore::event;

TEST(WinthreadWin32, KillTerminatesARunThatNeverReturns)
{
    std::atomic<int> entered{0};
    std::atomic<bool> returned{false};
    event firstIn(true, false);
    worker w([&](worker& self) {
        if (++entered > 1) {
            self.waitStop();
            return;
        }
        firstIn.set();
        for (;;)
            ::Sleep(1);
        returned = true;
    });
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(firstIn.wait(5000));
    stopwatch clock;
    w.kill();
    EXPECT_LT(clock.ms(), 1000);
    EXPECT_TRUE(w.finishedEvent().wait(0));
    EXPECT_FALSE(w.isRunning());

    ASSERT_TRUE(w.start());
    ASSERT_TRUE(eventually([&] { return entered == 2; }));
    EXPECT_TRUE(w.isRunning());
    w.stop(5000);
    EXPECT_FALSE(w.isRunning());
    EXPECT_FALSE(returned);
}

TEST(WinthreadWin32, ASemaphoreSurvivesAWorkerKilledWhileWaitingOnIt)
{
    vcore::semaphore lock;
    ASSERT_TRUE(lock.wait(0));
    event waiting(true, false);
    worker w([&](worker&) {
        waiting.set();
        lock.wait();
    });
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(waiting.wait(5000));
    sleepMs(20);
    w.kill();
    EXPECT_TRUE(lock.release());
    EXPECT_TRUE(lock.wait(1000));
    EXPECT_FALSE(lock.wait(0));
}

TEST(WinthreadWin32, WorkersAreInTheMultithreadedApartment)
{
    std::atomic<long> again{0};
    worker w([&](worker&) {
        HRESULT hr = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        again = hr;
        if (SUCCEEDED(hr))
            ::CoUninitialize();
    });
    ASSERT_TRUE(w.start());
    ASSERT_TRUE(w.finishedEvent().wait(5000));
    EXPECT_EQ(again.load(), S_FALSE);  // already initialised for this model
}

} // namespace
