#include "vwin/apartmentthread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <windows.h>
#include <objbase.h>

#include "vwin/moduleexit.h"

namespace vwin {

namespace {

// Short enough that window messages for a single-threaded apartment are not left waiting.
constexpr auto pumpInterval = std::chrono::milliseconds(20);
// A terminated thread may still be unwinding in the kernel for a moment.
constexpr DWORD terminateWaitMs = 1000;

void pumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct task {
    std::function<void()> job;
    bool mustRun = false;
    bool started = false, done = false, calledOff = false;
};

using taskQueue = std::deque<std::shared_ptr<task>>;

} // namespace

struct apartmentState {
    using kind = apartmentThread::kind;
    const kind apartment;
    const size_t maxQueued;
    std::function<void()> farewell;
    std::mutex lock;
    std::condition_variable changed;
    taskQueue queue;
    bool stopping = false;
    bool leftBehind = false;
    HANDLE thread = nullptr;
    std::atomic<DWORD> threadId{0};
    // Set by the thread when all that is left for it is ExitThread.
    std::atomic<bool> ended{false};

    apartmentState(kind k, size_t bound) : apartment(k), maxQueued(bound) {}

    void serve();
    // Blocks until there is something to do; a single-threaded apartment pumps its messages
    // meanwhile and before each job.
    void awaitWork(std::unique_lock<std::mutex>& hold);
};

void apartmentState::awaitWork(std::unique_lock<std::mutex>& hold)
{
    auto workOrStop = [&] { return stopping || leftBehind || !queue.empty(); };
    if (apartment == kind::multithreaded) {
        changed.wait(hold, workOrStop);
        return;
    }
    do {
        hold.unlock();
        pumpMessages();
        hold.lock();
    } while (!changed.wait_for(hold, pumpInterval, workOrStop));
}

void apartmentState::serve()
{
    const DWORD model = apartment == kind::singleThreaded ? COINIT_APARTMENTTHREADED : COINIT_MULTITHREADED;
    const bool entered = SUCCEEDED(CoInitializeEx(nullptr, model));
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
        awaitWork(hold);
        if (leftBehind || queue.empty())
            break;
        auto next = queue.front();
        queue.pop_front();
        if (next->calledOff)
            continue;
        next->started = true;
        hold.unlock();
        next->job();
        next->job = nullptr;  // what it captured goes here, in the apartment
        hold.lock();
        next->done = true;
        changed.notify_all();
    }
    // Whatever is left is let go of here too, in the apartment, but without running it.
    taskQueue dropped;
    dropped.swap(queue);
    hold.unlock();
    dropped.clear();
    threadId = 0;
    if (entered)
        CoUninitialize();
}

namespace {

DWORD WINAPI threadEntry(void* parameter)
{
    auto* handedOver = static_cast<std::shared_ptr<apartmentState>*>(parameter);
    std::shared_ptr<apartmentState> s = std::move(*handedOver);
    delete handedOver;
    s->serve();
    s->ended = true;
    // A waiting owner holds the state too, so this is no more than a count going down.
    s.reset();
    ExitThread(0);
}

} // namespace

apartmentThread::apartmentThread(kind apartment, size_t maxQueued)
    : s_(std::make_shared<apartmentState>(apartment, maxQueued))
{
}

apartmentThread::~apartmentThread()
{
    stop(1000);
    if (s_->thread)
        CloseHandle(s_->thread);
}

void apartmentThread::setFarewell(std::function<void()> farewell)
{
    std::lock_guard<std::mutex> hold(s_->lock);
    s_->farewell = std::move(farewell);
}

bool apartmentThread::alive() const
{
    return s_->thread && WaitForSingleObject(s_->thread, 0) == WAIT_TIMEOUT;
}

bool apartmentThread::onThread() const
{
    const DWORD id = s_->threadId;
    return id != 0 && id == GetCurrentThreadId();
}

bool apartmentThread::start()
{
    if (stopped_)
        return false;
    std::lock_guard<std::mutex> hold(s_->lock);
    if (s_->stopping)
        return false;
    if (s_->thread)
        return alive();
    auto* handedOver = new std::shared_ptr<apartmentState>(s_);
    DWORD id = 0;
    s_->thread = CreateThread(nullptr, 0, threadEntry, handedOver, 0, &id);
    if (!s_->thread) {
        delete handedOver;
        return false;
    }
    s_->threadId = id;
    return true;
}

apartmentThread::outcome apartmentThread::run(std::function<void()> job, uint32_t waitMs, bool mustRun)
{
    if (onThread()) {
        job();
        return outcome::done;
    }
    if (stopped_)
        return outcome::refused;
    auto t = std::make_shared<task>();
    t->job = std::move(job);
    t->mustRun = mustRun;
    std::unique_lock<std::mutex> hold(s_->lock);
    if (s_->stopping || !alive() || s_->queue.size() >= s_->maxQueued)
        return outcome::refused;
    s_->queue.push_back(t);
    s_->changed.notify_all();
    if (s_->changed.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return t->done; }))
        return outcome::done;
    if (t->started || t->mustRun)
        return outcome::pending;
    t->calledOff = true;
    return outcome::calledOff;
}

// Never joined: at a library's unload the loader lock is held, and a thread ending needs it.
bool apartmentThread::stop(uint32_t waitMs, ifHung then)
{
    if (stopped_)
        return true;
    std::unique_lock<std::mutex> hold(s_->lock);
    if (s_->stopping)
        return true;
    s_->stopping = true;
    if (!alive()) {
        stopped_ = true;
        return true;
    }
    auto last = std::make_shared<task>();
    last->job = std::move(s_->farewell);
    if (!last->job)
        last->job = [] {};
    last->mustRun = true;
    s_->queue.push_back(last);
    s_->changed.notify_all();
    const bool finished =
        s_->changed.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return last->done; });
    if (!finished)
        s_->leftBehind = true;
    hold.unlock();
    stopped_ = true;
    if (finished) {
        waitUntilOutOfModule(s_->thread, s_->ended);
        return true;
    }
    if (then == ifHung::terminate) {
        TerminateThread(s_->thread, DWORD(-1));
        WaitForSingleObject(s_->thread, terminateWaitMs);
        return false;
    }
    // Left behind in a hung call: keep our code mapped for the day that call returns.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&threadEntry), &self);
    return false;
}

} // namespace vwin
