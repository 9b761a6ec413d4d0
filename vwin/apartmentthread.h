#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace vwin {

// What the owner and its thread share; the thread may outlive the owner.
struct apartmentState;

// One thread in a COM apartment that owns objects of that apartment and makes every call on
// them, one job at a time. Callers wait for a job only so long: an object that hangs holds this
// thread, never the caller's. Windows only.
class apartmentThread {
public:
    enum class kind { singleThreaded, multithreaded };
    enum class outcome {
        done,       // finished within the wait
        pending,    // begun, or bound to run: it goes on later, so it captures by value
        calledOff,  // not begun within the wait, and now it never will
        refused,    // never queued: the thread does not run, or the queue is full
    };
    // What stop does with a thread still in a job when its wait is over.
    enum class ifHung {
        leaveBehind,  // let it run on, our code kept mapped; what is queued and the farewell never run
        terminate,    // end it where it stands
    };
    static constexpr size_t unbounded = SIZE_MAX;

    explicit apartmentThread(kind apartment, size_t maxQueued = unbounded);
    ~apartmentThread();  // stop(1000), leaving a hung thread behind
    apartmentThread(const apartmentThread&) = delete;
    apartmentThread& operator=(const apartmentThread&) = delete;

    // What the thread runs last, still in its apartment, unless stop leaves it behind.
    void setFarewell(std::function<void()> farewell);
    // Starts the thread unless it runs; false when it cannot run (any more).
    bool start();
    // Queues job and waits up to waitMs for it; inline when called from the thread itself. A
    // job not begun by then is called off unless mustRun.
    outcome run(std::function<void()> job, uint32_t waitMs, bool mustRun = false);
    // Ends the thread once its queue and the farewell are done, waiting up to waitMs for that;
    // true when it ended in time. Later runs are refused.
    bool stop(uint32_t waitMs, ifHung then = ifHung::leaveBehind);
    bool onThread() const;

private:
    // At process exit the thread is gone before our destructor runs.
    bool alive() const;

    std::shared_ptr<apartmentState> s_;
    // Set once stop is over: a terminated thread may have died holding the shared lock.
    std::atomic<bool> stopped_{false};
};

} // namespace vwin
