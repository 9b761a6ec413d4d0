#include "vcore/semaphore.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vcore {

struct semaphore::impl {
    std::mutex mutex;
    std::condition_variable freed;
    uint32_t count;
    uint32_t maximum;
};

semaphore::semaphore(uint32_t initial, uint32_t maximum) : impl_(std::make_unique<impl>())
{
    impl_->maximum = std::max<uint32_t>(maximum, 1);
    impl_->count = std::min(initial, impl_->maximum);
}

semaphore::~semaphore() = default;

bool semaphore::wait(uint32_t ms)
{
    std::unique_lock<std::mutex> hold(impl_->mutex);
    auto available = [this] { return impl_->count > 0; };
    if (ms == infinite)
        impl_->freed.wait(hold, available);
    else if (!impl_->freed.wait_for(hold, std::chrono::milliseconds(ms), available))
        return false;
    --impl_->count;
    return true;
}

bool semaphore::release()
{
    {
        std::lock_guard<std::mutex> hold(impl_->mutex);
        if (impl_->count >= impl_->maximum)
            return false;
        ++impl_->count;
    }
    impl_->freed.notify_one();
    return true;
}

} // namespace vcore
