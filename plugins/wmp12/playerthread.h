#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "vcore/event.h"
#include "vwin/winthread.h"

namespace wmp {

// The one thread that owns the media player control: a single-threaded apartment whose every
// call on the control runs here, one job at a time, so calls from the hub's thread and the
// port's worker never overlap. Windows only.
class playerThread : public vwin::winthread {
public:
    // Jobs waiting beyond this are refused: a control that hangs must not pile them up.
    static constexpr size_t maxQueued = 16;

    playerThread() = default;
    ~playerThread() override;

    // What the thread runs last, still in its apartment (letting go of the control).
    void setFarewell(std::function<void()> farewell) { farewell_ = std::move(farewell); }
    // Starts the thread when it does not run; false when it cannot.
    bool ensureStarted();
    enum class outcome {
        done,     // finished within the wait
        pending,  // still queued or running: it goes on later, so it must not use the caller's stack
        refused,  // never queued: the thread does not run or too many jobs wait
    };
    // Runs work on the thread (inline when called from it).
    outcome perform(std::function<void()> work, uint32_t ms);
    bool onThread() const;

protected:
    void run() override;

private:
    struct job {
        std::function<void()> work;
        vcore::event done{true, false};
    };

    std::mutex lock_;
    std::deque<std::shared_ptr<job>> queue_;
    vcore::event ready_{true, false};
    std::function<void()> farewell_;
    std::atomic<unsigned long> threadId_{0};
};

} // namespace wmp
