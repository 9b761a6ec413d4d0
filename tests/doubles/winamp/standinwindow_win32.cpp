#include "tests/doubles/winamp/standinwindow.h"

#include <windows.h>

#include <condition_variable>
#include <mutex>

#include "plugins/winamp_component/winampipc.h"

namespace standin {
namespace {

std::mutex startLock;
std::condition_variable started;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* model = reinterpret_cast<winampModel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (model && message == WM_USER)
        return model->answer(intptr_t(wParam), intptr_t(lParam));
    if (model && message == WM_COMMAND) {
        model->press(int(LOWORD(wParam)));
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

bool standinWindow::open()
{
    if (thread_.joinable())
        return window_ != nullptr;
    ready_ = false;
    window_ = nullptr;
    thread_ = std::thread([this] { run(); });
    std::unique_lock<std::mutex> hold(startLock);
    started.wait_for(hold, std::chrono::seconds(30), [this] { return ready_; });
    return window_ != nullptr;
}

void standinWindow::run()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Winamp v1.x";
    RegisterClassW(&wc);  // fails harmlessly when registered by an earlier window
    HWND window = CreateWindowExW(0, L"Winamp v1.x", L"Winamp stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (window)
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&model_));
    {
        std::lock_guard<std::mutex> hold(startLock);
        window_ = window;
        ready_ = true;
    }
    started.notify_all();
    if (!window)
        return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void standinWindow::close()
{
    if (!thread_.joinable())
        return;
    if (window_)
        PostMessageW(static_cast<HWND>(window_), WM_CLOSE, 0, 0);
    thread_.join();
    window_ = nullptr;
}

} // namespace standin
