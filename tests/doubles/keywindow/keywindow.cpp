// A window that takes the front and prints what the system service does to it, one line each:
// "front" once it is the foreground window, "down SCAN [ext]" / "up SCAN [ext]" per key,
// "zoomed" / "restored" when its show state changes. Runs until it is ended.
#include <windows.h>

#include <cstdio>

namespace {

// Show-state changes count from the front on; showing the window is one too.
bool inFront = false;

void say(const char* format, unsigned scan = 0, const char* extended = "")
{
    std::printf(format, scan, extended);
    std::fflush(stdout);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const unsigned scan = unsigned((lParam >> 16) & 0xFF);
    const char* extended = (lParam & (1 << 24)) ? " ext" : "";
    switch (message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: say("down %u%s\n", scan, extended); break;
    case WM_KEYUP: case WM_SYSKEYUP: say("up %u%s\n", scan, extended); break;
    case WM_SIZE:
        if (inFront && wParam == SIZE_MAXIMIZED)
            say("zoomed\n");
        else if (inFront && wParam == SIZE_RESTORED)
            say("restored\n");
        break;
    case WM_DESTROY: PostQuitMessage(0); break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main()
{
    WNDCLASSW type{};
    type.lpfnWndProc = windowProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"TolvanuKeyWindow";
    RegisterClassW(&type);
    HWND window = CreateWindowExW(0, type.lpszClassName, L"tolvanu-target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  50, 50, 400, 300, nullptr, nullptr, type.hInstance, nullptr);
    if (!window)
        return 1;
    // Asks for the front until it has it (bounded: 10 s), then says so once.
    bool front = false;
    for (int tries = 0; tries < 500 && !front; ++tries) {
        SetForegroundWindow(window);
        front = GetForegroundWindow() == window;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (!front)
            Sleep(20);
    }
    if (!front)
        return 2;
    inFront = true;
    say("front\n");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
