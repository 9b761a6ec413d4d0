#pragma once
#include <atomic>
#include <cstdint>

namespace vcore {

// A short-held lock keyed on the owning thread's identity; its holder may re-enter it.
// Waiters yield and sleep 1 ms by turns, so a holder on a busy core still gets to run.
class spinlock {
public:
    spinlock() = default;
    spinlock(const spinlock&) = delete;
    spinlock& operator=(const spinlock&) = delete;

    void lock();
    bool try_lock();
    // Frees the lock when the holder's last nested lock is undone; a stray call is ignored.
    void unlock();

private:
    std::atomic<uint32_t> owner_{0};
    uint32_t depth_ = 0;  // touched only by the holder
};

// A small number naming the calling thread, never 0.
uint32_t currentThreadTag();

} // namespace vcore
