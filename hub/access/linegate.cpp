#include "hub/access/linegate.h"

#include <utility>

namespace hub {

linegate::linegate(printer print) : print_(std::move(print)) {}

void linegate::line(const vcore::str& text)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (!held_) {
        print_(text);
        return;
    }
    if (waiting_.size() == maxHeld)
        waiting_.pop_front();
    waiting_.push_back(text);
}

void linegate::hold(const std::function<void()>& show)
{
    std::lock_guard<std::mutex> hold(lock_);
    held_ = true;
    if (watch_)
        watch_(true);
    show();
}

void linegate::release()
{
    std::lock_guard<std::mutex> hold(lock_);
    held_ = false;
    if (watch_)
        watch_(false);
    for (const vcore::str& text : waiting_)
        print_(text);
    waiting_.clear();
}

void linegate::watch(watcher questionTurn)
{
    std::lock_guard<std::mutex> hold(lock_);
    watch_ = std::move(questionTurn);
    if (watch_ && held_)
        watch_(true);
}

} // namespace hub
