#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

#include "vwin/winthread_os.h"

namespace vwin {
namespace {

struct worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> returned;
};

} // namespace

// Threads cannot be ended from outside here, so stuck ones wait in setAside for their
// body to return; the owner joins them before it goes.
struct osthread::impl {
    worker current;
    std::vector<worker> setAside;

    void joinReturned()
    {
        for (auto it = setAside.begin(); it != setAside.end();) {
            if (it->returned->load(std::memory_order_acquire)) {
                it->thread.join();
                it = setAside.erase(it);
            } else {
                ++it;
            }
        }
    }
};

osthread::osthread() : impl_(std::make_unique<impl>()) {}

osthread::~osthread()
{
    detachAll();
}

bool osthread::launch(std::function<bool()> claim, std::function<void()> body)
{
    impl_->joinReturned();
    auto returned = std::make_shared<std::atomic<bool>>(false);
    try {
        impl_->current.thread = std::thread([claim = std::move(claim), body = std::move(body), returned] {
            if (claim())
                body();
            returned->store(true, std::memory_order_release);
        });
    } catch (const std::system_error&) {
        return false;
    }
    impl_->current.returned = std::move(returned);
    return true;
}

bool osthread::active() const
{
    return impl_->current.thread.joinable();
}

void osthread::reap()
{
    if (impl_->current.thread.joinable())
        impl_->current.thread.join();
}

void osthread::abandon()
{
    if (impl_->current.thread.joinable())
        impl_->setAside.push_back(std::move(impl_->current));
    impl_->current = {};
}

void osthread::joinAll()
{
    reap();
    for (worker& stuck : impl_->setAside)
        stuck.thread.join();
    impl_->setAside.clear();
}

void osthread::detachAll()
{
    if (impl_->current.thread.joinable())
        impl_->current.thread.detach();
    for (worker& stuck : impl_->setAside)
        stuck.thread.detach();
    impl_->setAside.clear();
}

} // namespace vwin
