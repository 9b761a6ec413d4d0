#include "vcore/semaphore.h"

#include <algorithm>
#include <windows.h>

namespace vcore {

struct semaphore::impl {
    HANDLE handle;
};

semaphore::semaphore(uint32_t initial, uint32_t maximum) : impl_(std::make_unique<impl>())
{
    LONG most = LONG(std::clamp<uint32_t>(maximum, 1, 0x7FFFFFFF));
    LONG count = std::min(LONG(std::min<uint32_t>(initial, 0x7FFFFFFF)), most);
    impl_->handle = ::CreateSemaphoreW(nullptr, count, most, nullptr);
}

semaphore::~semaphore()
{
    if (impl_->handle)
        ::CloseHandle(impl_->handle);
}

bool semaphore::wait(uint32_t ms)
{
    return impl_->handle && ::WaitForSingleObject(impl_->handle, ms) == WAIT_OBJECT_0;
}

bool semaphore::release()
{
    return impl_->handle && ::ReleaseSemaphore(impl_->handle, 1, nullptr);
}

} // namespace vcore
