#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "vcore/event.h"

namespace vwin {

class osthread;

// A worker thread object: run() goes on its own system thread until the stop event asks it
// to end. A derived class stops the thread in its own destructor: by the time ~winthread
// runs, the members run() works on are gone.
//
// A thread that ignores the stop event past the grace time is terminated on Windows. Linux
// cannot end a thread from outside: there it is let go instead, keeps running until its
// run() returns, and the object's destructor waits for it. A run that was let go sees
// waitStop() and stopRequested() answer true, and never touches the finished event again.
class winthread {
public:
    winthread();
    virtual ~winthread();  // shutdown(120)
    winthread(const winthread&) = delete;
    winthread& operator=(const winthread&) = delete;

    // Starts run() on a new thread, first stopping the previous one with 100 ms grace.
    // False when no thread could be created, or when called from run() itself.
    bool start();
    // Sets the stop event and waits up to ms for run() to return; past that the thread is
    // terminated (or let go) and the finished event set. From run() itself it only asks.
    void stop(uint32_t ms);
    // Ends the thread at once: stop(0).
    void kill();
    // For destructors of derived classes: stop(graceMs), then wait for any thread that was
    // let go, so that none runs on in the derived part once that is gone. ~winthread does
    // shutdown(120), but only after the derived part has been destroyed.
    void shutdown(uint32_t graceMs);
    // Started, and run() has not returned nor been ended.
    bool isRunning() const;
    // When the thread has not yet begun run(), makes sure it never will (terminating it
    // where the system can) and sets the finished event: true. False when run() has begun
    // or no thread is current. For owners that must not wait for a thread to start.
    bool callOffUnbegun();

    // For run(): blocks until the stop event is set; true.
    bool waitStop();
    // For run(): blocks until the stop event or other is set, or ms ran out; true only for
    // the stop event, which wins when both are set.
    bool waitStop(vcore::event& other, uint32_t ms = vcore::infinite);
    // For run(): whether this run has been asked to end, without waiting.
    bool stopRequested() const;

    // Manual-reset, set to ask the thread to end.
    vcore::event& stopEvent();
    // Manual-reset, set when run() returned or the thread was ended.
    vcore::event& finishedEvent();

protected:
    virtual void run() = 0;

private:
    struct shared;

    void endThread(uint32_t graceMs);
    bool onOwnThread() const;
    bool isLetGo() const;

    std::shared_ptr<shared> shared_;  // also held by each thread, which may outlive the object
    std::unique_ptr<osthread> os_;
    std::mutex control_;  // start, stop and destruction one at a time
    std::atomic<bool> started_{false};
};

} // namespace vwin
