#include "vcore/event.h"

#include <windows.h>

namespace vcore {

event::event(bool manualReset, bool initiallySet, const char16_t* name)
    : handle_(::CreateEventW(nullptr, manualReset, initiallySet, reinterpret_cast<const wchar_t*>(name))),
      manual_(manualReset)
{
    existed_ = handle_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

event::~event()
{
    if (handle_)
        ::CloseHandle(handle_);
}

bool event::valid() const
{
    return handle_ != nullptr;
}

void event::set()
{
    if (!handle_)
        return;
    ::SetEvent(handle_);
}

void event::reset()
{
    if (handle_)
        ::ResetEvent(handle_);
}

// The wait that saw the event has already taken an auto-reset one back, and it orders
// memory after the SetEvent by itself.
bool event::take()
{
    return true;
}

bool event::wait(uint32_t ms)
{
    return handle_ && ::WaitForSingleObject(handle_, ms) == WAIT_OBJECT_0 && take();
}

int waitAny(event& a, event& b, uint32_t ms)
{
    if (!a.valid() || !b.valid())
        return -1;
    HANDLE both[2] = {a.handle_, b.handle_};
    switch (::WaitForMultipleObjects(2, both, FALSE, ms)) {
    case WAIT_OBJECT_0:
        return a.take() ? 0 : -1;
    case WAIT_OBJECT_0 + 1:
        return b.take() ? 1 : -1;
    default:
        return -1;
    }
}

} // namespace vcore
