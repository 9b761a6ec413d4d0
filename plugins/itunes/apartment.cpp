#include "plugins/itunes/apartment.h"

#include <chrono>

#include <windows.h>
#include <objbase.h>

namespace itunes {

apartment::apartment() : s_(std::make_shared<shared>()) {}

apartment::~apartment()
{
    stop(2000);
    if (s_->thread)
        CloseHandle(s_->thread);
}

bool apartment::alive() const
{
    return s_->thread && WaitForSingleObject(s_->thread, 0) == WAIT_TIMEOUT;
}

namespace {

DWORD WINAPI threadStart(void* parameter)
{
    auto* start = static_cast<std::function<void()>*>(parameter);
    (*start)();
    delete start;
    return 0;
}

} // namespace

bool apartment::run(std::function<void()> job, uint32_t waitMs, bool mustRun)
{
    auto t = std::make_shared<task>();
    t->job = std::move(job);
    t->mustRun = mustRun;
    std::unique_lock<std::mutex> hold(s_->lock);
    if (s_->stopping)
        return false;
    if (!s_->thread) {
        auto* start = new std::function<void()>([s = s_] { loop(s); });
        s_->thread = CreateThread(nullptr, 0, threadStart, start, 0, nullptr);
        if (!s_->thread) {
            delete start;
            return false;
        }
    }
    if (!alive())
        return false;
    s_->queue.push_back(t);
    s_->changed.notify_all();
    const bool finished = s_->changed.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return t->done; });
    if (!finished && !t->started && !t->mustRun)
        t->calledOff = true;
    return finished;
}

void apartment::loop(std::shared_ptr<shared> s)
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::unique_lock<std::mutex> hold(s->lock);
    for (;;) {
        s->changed.wait(hold, [&] { return s->stopping || !s->queue.empty(); });
        if (s->queue.empty())
            break;
        auto t = s->queue.front();
        s->queue.pop_front();
        if (t->calledOff)
            continue;
        t->started = true;
        hold.unlock();
        t->job();
        t->job = nullptr;  // what it captured goes here, in the apartment
        hold.lock();
        t->done = true;
        s->changed.notify_all();
    }
    hold.unlock();
    CoUninitialize();
}

// Never joined: at a library's unload the loader lock is held, and a thread ending needs it.
void apartment::stop(uint32_t waitMs)
{
    std::unique_lock<std::mutex> hold(s_->lock);
    if (!s_->thread || s_->stopping || !alive())
        return;
    auto last = std::make_shared<task>();
    last->job = [] {};
    last->mustRun = true;
    s_->queue.push_back(last);
    s_->stopping = true;
    s_->changed.notify_all();
    if (s_->changed.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return last->done; }))
        return;
    // Left behind in a hung call: keep our code mapped for the day that call returns.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&threadStart), &self);
}

} // namespace itunes
