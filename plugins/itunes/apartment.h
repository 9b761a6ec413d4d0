#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace itunes {

// One thread in the multithreaded COM apartment that owns the player's objects and makes every
// call on them, one job at a time. Callers wait for a job only so long: a player that hangs
// holds this thread, never the caller's.
class apartment {
public:
    apartment();
    ~apartment();
    apartment(const apartment&) = delete;
    apartment& operator=(const apartment&) = delete;

    // Runs job here and waits up to waitMs for it; false when it did not finish in time. A job
    // not begun by then is called off unless mustRun; one begun runs on, so it captures by value.
    bool run(std::function<void()> job, uint32_t waitMs, bool mustRun = false);
    // Ends the thread once its queue is done, waiting up to waitMs for that; a thread still in a
    // hung call is left behind.
    void stop(uint32_t waitMs);

private:
    struct task {
        std::function<void()> job;
        bool mustRun = false;
        bool started = false, done = false, calledOff = false;
    };
    // Shared with the thread, which may outlive this object when left behind.
    struct shared {
        std::mutex lock;
        std::condition_variable changed;
        std::deque<std::shared_ptr<task>> queue;
        bool stopping = false;
        void* thread = nullptr;  // its handle, once started
    };
    static void loop(std::shared_ptr<shared> s);
    // Whether the thread can still run jobs: at process exit it is gone before our destructor.
    bool alive() const;

    std::shared_ptr<shared> s_;
};

} // namespace itunes
