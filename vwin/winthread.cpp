#include "vwin/winthread.h"

#include "vwin/winthread_os.h"

namespace vwin {
namespace {

// Which winthread run, if any, the calling thread carries out.
struct runIdentity {
    const void* owner = nullptr;
    uint32_t generation = 0;
};
thread_local runIdentity thisRun;

constexpr uint32_t restartGraceMs = 100;
constexpr uint32_t destroyGraceMs = 120;

} // namespace

// What a thread still touches after its run() returns, so that it may outlive the object.
struct winthread::shared {
    vcore::event stop{true, false};
    vcore::event finished{true, false};
    std::mutex mutex;                     // orders finish() against retire()
    std::atomic<uint32_t> generation{0};  // the run that owns the finished event
    // The run that may still begin, or 0 once it has begun or been called off. Lock-free:
    // a thread ended in between must not leave anything held.
    std::atomic<uint32_t> startGate{0};

    uint32_t nextRun()
    {
        std::lock_guard<std::mutex> hold(mutex);
        const uint32_t run = ++generation;
        startGate.store(run);
        return run;
    }
    // On the new thread: false when its run was called off before it got here.
    bool begin(uint32_t run) { return startGate.compare_exchange_strong(run, 0); }
    // Takes the current run away unless it has begun.
    bool callOff()
    {
        uint32_t run = generation.load();
        return startGate.compare_exchange_strong(run, 0);
    }
    void finish(uint32_t run)
    {
        std::lock_guard<std::mutex> hold(mutex);
        if (run == generation)
            finished.set();
    }
    // Takes the finished event from the current run; tells whether that run had returned.
    bool retire()
    {
        std::lock_guard<std::mutex> hold(mutex);
        bool returned = finished.wait(0);
        ++generation;
        return returned;
    }
};

winthread::winthread() : shared_(std::make_shared<shared>()), os_(std::make_unique<osthread>()) {}

winthread::~winthread()
{
    if (onOwnThread()) {
        // run() is destroying its own object: it can neither wait for nor end itself. The
        // lock lets a start() that launched this thread finish with the object first.
        std::lock_guard<std::mutex> hold(control_);
        shared_->stop.set();
        os_->detachAll();
        return;
    }
    shutdown(destroyGraceMs);
}

bool winthread::start()
{
    if (onOwnThread())
        return false;
    std::lock_guard<std::mutex> hold(control_);
    endThread(restartGraceMs);
    shared_->stop.reset();
    shared_->finished.reset();
    uint32_t generation = shared_->nextRun();
    started_ = true;
    bool launched = os_->launch([keep = shared_, generation] { return keep->begin(generation); },
                                [this, keep = shared_, generation] {
        thisRun = {keep.get(), generation};
        run();
        keep->finish(generation);
    });
    if (!launched)
        shared_->finished.set();
    return launched;
}

void winthread::stop(uint32_t ms)
{
    shared_->stop.set();
    if (onOwnThread())
        return;
    std::lock_guard<std::mutex> hold(control_);
    endThread(ms);
}

void winthread::kill()
{
    stop(0);
}

void winthread::shutdown(uint32_t graceMs)
{
    shared_->stop.set();
    if (onOwnThread())
        return;
    std::lock_guard<std::mutex> hold(control_);
    endThread(graceMs);
    os_->joinAll();
}

void winthread::endThread(uint32_t graceMs)
{
    if (!os_->active())
        return;
    shared_->stop.set();
    if (shared_->finished.wait(graceMs) || shared_->retire()) {
        os_->reap();
        return;
    }
    os_->abandon();
    shared_->finished.set();
}

// A library's unload holds the loader lock, which a new thread needs before it can begin:
// waiting there for a worker that has not begun would never end. Such a thread is safe to
// terminate: it has done nothing but wait and holds nothing.
bool winthread::callOffUnbegun()
{
    if (onOwnThread())
        return false;
    std::lock_guard<std::mutex> hold(control_);
    if (!os_->active() || shared_->finished.wait(0) || !shared_->callOff())
        return false;
    os_->abandon();
    shared_->finished.set();
    return true;
}

bool winthread::isRunning() const
{
    return started_ && !shared_->finished.wait(0);
}

bool winthread::waitStop()
{
    return isLetGo() || shared_->stop.wait();
}

bool winthread::waitStop(vcore::event& other, uint32_t ms)
{
    return isLetGo() || vcore::waitAny(shared_->stop, other, ms) == 0;
}

bool winthread::stopRequested() const
{
    return isLetGo() || shared_->stop.wait(0);
}

vcore::event& winthread::stopEvent()
{
    return shared_->stop;
}

vcore::event& winthread::finishedEvent()
{
    return shared_->finished;
}

bool winthread::onOwnThread() const
{
    return thisRun.owner == shared_.get();
}

bool winthread::isLetGo() const
{
    return onOwnThread() && thisRun.generation != shared_->generation;
}

} // namespace vwin
