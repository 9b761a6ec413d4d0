#include "vwin/moduleexit.h"

#include <cstdint>

namespace vwin {
namespace {

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
                              reinterpret_cast<LPCWSTR>(&waitUntilOutOfModule), &module))
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

} // namespace

void waitUntilOutOfModule(HANDLE thread, const std::atomic<bool>& announcedEnd)
{
    static const codeRange range = thisModule();
    const ULONGLONG deadline = ::GetTickCount64() + leaveWaitMs;
    while (::WaitForSingleObject(thread, 0) != WAIT_OBJECT_0 && ::GetTickCount64() < deadline) {
        if (announcedEnd.load() && !executesIn(thread, range))
            return;
        ::Sleep(1);
    }
}

} // namespace vwin
