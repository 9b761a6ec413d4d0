#include "plugins/wmp12/playerthread.h"

#include <windows.h>
#include <objbase.h>

namespace wmp {
namespace {

// Short enough that window messages for the apartment are not left waiting.
constexpr uint32_t pumpMs = 20;

void pumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

playerThread::~playerThread()
{
    shutdown(1000);
}

bool playerThread::ensureStarted()
{
    return isRunning() || start();
}

bool playerThread::onThread() const
{
    return threadId_ != 0 && threadId_ == GetCurrentThreadId();
}

playerThread::outcome playerThread::perform(std::function<void()> work, uint32_t ms)
{
    if (onThread()) {
        work();
        return outcome::done;
    }
    if (!isRunning())
        return outcome::refused;
    auto next = std::make_shared<job>();
    next->work = std::move(work);
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (queue_.size() >= maxQueued)
            return outcome::refused;
        queue_.push_back(next);
        ready_.set();
    }
    return next->done.wait(ms) ? outcome::done : outcome::pending;
}

void playerThread::run()
{
    threadId_ = GetCurrentThreadId();
    const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    while (!waitStop(ready_, pumpMs)) {
        pumpMessages();
        for (;;) {
            std::shared_ptr<job> next;
            {
                std::lock_guard<std::mutex> hold(lock_);
                if (queue_.empty()) {
                    ready_.reset();
                    break;
                }
                next = queue_.front();
                queue_.pop_front();
            }
            next->work();
            next->done.set();
        }
    }
    if (farewell_)
        farewell_();
    {
        std::lock_guard<std::mutex> hold(lock_);
        queue_.clear();
    }
    if (apartment)
        CoUninitialize();
    threadId_ = 0;
}

} // namespace wmp
