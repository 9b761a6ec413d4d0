#include "vcore/spinlock.h"

#include <chrono>
#include <thread>

namespace vcore {

uint32_t currentThreadTag()
{
    static std::atomic<uint32_t> next{0};
    thread_local uint32_t tag = 0;
    while (tag == 0)
        tag = next.fetch_add(1, std::memory_order_relaxed) + 1;
    return tag;
}

bool spinlock::try_lock()
{
    uint32_t me = currentThreadTag();
    uint32_t seen = 0;
    if (!owner_.compare_exchange_strong(seen, me, std::memory_order_acquire) && seen != me)
        return false;
    ++depth_;
    return true;
}

void spinlock::lock()
{
    for (uint8_t attempt = 0; !try_lock(); ++attempt) {
        if (attempt % 2 == 0)
            std::this_thread::yield();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void spinlock::unlock()
{
    if (owner_.load(std::memory_order_relaxed) != currentThreadTag() || depth_ == 0)
        return;
    if (--depth_ == 0)
        owner_.store(0, std::memory_order_release);
}

} // namespace vcore
