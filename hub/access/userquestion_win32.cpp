#include "hub/access/userquestion.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "hub/access/questiontext.h"

namespace hub {

struct userquestion::impl {
    std::atomic<bool> cancelled{false};
    std::atomic<DWORD> asking{0};  // the thread whose message box is up, 0 when none
};

namespace {

BOOL CALLBACK answerNo(HWND window, LPARAM)
{
    wchar_t kind[16] = {};
    if (GetClassNameW(window, kind, 16) && lstrcmpW(kind, L"#32770") == 0)
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    return TRUE;
}

} // namespace

userquestion::userquestion(linegate&) : impl_(std::make_unique<impl>()) {}

userquestion::~userquestion() = default;

answer userquestion::ask(const vcore::str& question)
{
    // Marked as asking before looking at cancelled: a cancel either stops it here or sees the box.
    impl_->asking = GetCurrentThreadId();
    if (impl_->cancelled) {
        impl_->asking = 0;
        return answer::no;
    }
    const int pressed = MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(question.data()),
                                    reinterpret_cast<const wchar_t*>(questionCaption),
                                    MB_YESNO | MB_SYSTEMMODAL | MB_SETFOREGROUND);
    impl_->asking = 0;
    return pressed == IDYES && !impl_->cancelled ? answer::yes : answer::no;
}

// The box may not be up yet when the hub starts going: keep pressing No until it is gone.
void userquestion::cancel()
{
    impl_->cancelled = true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (const DWORD thread = impl_->asking) {
        EnumThreadWindows(thread, answerNo, 0);
        if (std::chrono::steady_clock::now() > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace hub
