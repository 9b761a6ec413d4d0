#include "plugins/itunes/apartment.h"

#include <chrono>

#include <windows.h>
#include <objbase.h>

namespace itunes {

apartment::~apartment()
{
    stop(2000);
}

bool apartment::run(std::function<void()> job, uint32_t waitMs, bool mustRun)
{
    auto t = std::make_shared<task>();
    t->job = std::move(job);
    t->mustRun = mustRun;
    std::unique_lock<std::mutex> hold(lock_);
    if (stopping_)
        return false;
    if (!thread_.joinable())
        thread_ = std::thread([this] { loop(); });
    queue_.push_back(t);
    changed_.notify_all();
    const bool finished =
        changed_.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return t->done; });
    if (!finished && !t->started && !t->mustRun)
        t->calledOff = true;
    return finished;
}

void apartment::loop()
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [&] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            break;
        auto t = queue_.front();
        queue_.pop_front();
        if (t->calledOff)
            continue;
        t->started = true;
        hold.unlock();
        t->job();
        t->job = nullptr;  // what it captured goes here, in the apartment
        hold.lock();
        t->done = true;
        changed_.notify_all();
    }
    hold.unlock();
    CoUninitialize();
}

void apartment::stop(uint32_t waitMs)
{
    std::unique_lock<std::mutex> hold(lock_);
    if (!thread_.joinable())
        return;
    stopping_ = true;
    auto ended = std::make_shared<task>();
    queue_.push_back(ended);  // an empty job: marks the queue's end
    ended->job = [] {};
    ended->mustRun = true;
    changed_.notify_all();
    const bool finished =
        changed_.wait_for(hold, std::chrono::milliseconds(waitMs), [&] { return ended->done; });
    hold.unlock();
    if (finished)
        thread_.join();
    else
        thread_.detach();
}

} // namespace itunes
