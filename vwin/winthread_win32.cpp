#include <atomic>
#include <cstdint>
#include <objbase.h>
#include <windows.h>

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
    // Nothing of this module runs after the let-go but this call (see leftThisModule).
    ::ExitThread(0);
}

// A terminated thread may still be unwinding in the kernel for a moment.
constexpr DWORD terminateWaitMs = 1000;
// How long an owner waits for a returned thread to be out of this module's code.
constexpr DWORD leaveWaitMs = 2000;

struct codeRange {
    uintptr_t begin = 0;
    uintptr_t end = 0;
};

// The image this code is part of: the program, or a plug-in library.
codeRange thisModule()
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&threadEntry), &module))
        return {};
    const auto base = reinterpret_cast<uintptr_t>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    return {base, base + nt->OptionalHeader.SizeOfImage};
}

bool executesIn(HANDLE thread, const codeRange& range)
{
    if (::SuspendThread(thread) == DWORD(-1))
        return false;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    const bool read = ::GetThreadContext(thread, &context) != 0;
    ::ResumeThread(thread);
#if defined(_WIN64)
    const uintptr_t at = uintptr_t(context.Rip);
#else
    const uintptr_t at = uintptr_t(context.Eip);
#endif
    return read && at >= range.begin && at < range.end;
}

// A library's unload stops its workers while it holds the loader lock, which an exiting
// thread needs: waiting for the exit would deadlock, and unmapping the library while a
// worker still returns through it crashes. So the owner waits only until the thread has let
// go of its body and stands outside this module: it is then inside ExitThread for good.
void waitUntilOutOfModule(HANDLE thread, const threadBody* body)
{
    static const codeRange range = thisModule();
    const ULONGLONG deadline = ::GetTickCount64() + leaveWaitMs;
    while (::WaitForSingleObject(thread, 0) != WAIT_OBJECT_0 && ::GetTickCount64() < deadline) {
        if (body->oneLetGo.load() && !executesIn(thread, range))
            return;
        ::Sleep(1);
    }
}

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
        waitUntilOutOfModule(impl_->handle, impl_->body);
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
