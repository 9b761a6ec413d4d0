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
    show();
}

void linegate::release()
{
    std::lock_guard<std::mutex> hold(lock_);
    held_ = false;
    for (const vcore::str& text : waiting_)
        print_(text);
    waiting_.clear();
}

} // namespace hub
