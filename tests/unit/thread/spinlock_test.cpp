// The handler tables' lock: one holder, re-entry, release by the outermost unlock.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "vcore/spinlock.h"

namespace {

bool freeForOthers(vcore::spinlock& lock)
{
    bool got = false;
    std::thread other([&] {
        got = lock.try_lock();
        if (got)
            lock.unlock();
    });
    other.join();
    return got;
}

TEST(Spinlock, HolderReentersAndTheOutermostUnlockFrees)
{
    vcore::spinlock lock;
    lock.lock();
    lock.lock();
    EXPECT_FALSE(freeForOthers(lock));
    lock.unlock();
    EXPECT_FALSE(freeForOthers(lock));  // the outer hold is still on
    lock.unlock();
    EXPECT_TRUE(freeForOthers(lock));
    lock.unlock();  // a stray unlock changes nothing
    lock.lock();
    EXPECT_FALSE(freeForOthers(lock));
    lock.unlock();
}

TEST(Spinlock, KeepsThreadsOutOfEachOther)
{
    vcore::spinlock lock;
    long shared = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                lock.lock();
                ++shared;
                lock.unlock();
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(shared, 2000);
}

} // namespace
