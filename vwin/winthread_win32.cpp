#include <atomic>
#include <cstdint>
#include <objbase.h>
#include <windows.h>

#include "vwin/moduleexit.h"
#include "vwin/winthread_os.h"

namespace vwin {
namespace {

// The function a thread runs; whichever of the thread and its owner lets go second frees it.
struct threadBody {
    std::function<bool()> claim;
    std::function<void()> run;
    std::atomic<bool> oneLetGo{false};
};

void letGoOf(threadBody* body)
{
    if (body && body->oneLetGo.exchange(true))
        delete body;
}

DWORD WINAPI threadEntry(void* param)
{
    auto* body = static_cast<threadBody*>(param);
    if (body->claim()) {
        // Handlers on workers may use COM objects of the multithreaded model. COM stays
        // initialised: objects made here may outlive the thread.
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        body->run();
    }
    letGoOf(body);
    // Nothing of this module runs after the let-go but this call (see waitUntilOutOfModule).
    ::ExitThread(0);
}

// A terminated thread may still be unwinding in the kernel for a moment.
constexpr DWORD terminateWaitMs = 1000;

} // namespace

struct osthread::impl {
    HANDLE handle = nullptr;
    threadBody* body = nullptr;

    void forget()
    {
        if (handle)
            ::CloseHandle(handle);
        handle = nullptr;
        body = nullptr;
    }
};

osthread::osthread() : impl_(std::make_unique<impl>()) {}

osthread::~osthread()
{
    detachAll();
}

bool osthread::launch(std::function<bool()> claim, std::function<void()> body)
{
    auto* owned = new threadBody{std::move(claim), std::move(body)};
    HANDLE handle = ::CreateThread(nullptr, 0, threadEntry, owned, 0, nullptr);
    if (!handle) {
        delete owned;
        return false;
    }
    impl_->handle = handle;
    impl_->body = owned;
    return true;
}

bool osthread::active() const
{
    return impl_->handle != nullptr;
}

// No wait for the thread's exit, which may need the loader lock: only for it to leave
// this module's code.
void osthread::reap()
{
    if (impl_->handle && impl_->body)
        waitUntilOutOfModule(impl_->handle, impl_->body->oneLetGo);
    letGoOf(impl_->body);
    impl_->forget();
}

void osthread::abandon()
{
    if (!impl_->handle)
        return;
    ::TerminateThread(impl_->handle, DWORD(-1));
    // Only a thread known to be gone can no longer touch its body.
    if (::WaitForSingleObject(impl_->handle, terminateWaitMs) == WAIT_OBJECT_0)
        delete impl_->body;
    impl_->forget();
}

void osthread::joinAll()
{
    reap();
}

// Called on the thread itself, which cannot wait to leave.
void osthread::detachAll()
{
    letGoOf(impl_->body);
    impl_->forget();
}

} // namespace vwin
