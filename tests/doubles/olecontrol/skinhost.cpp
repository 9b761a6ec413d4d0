// The running player as the connector recognises it: a program owning a top-level "WMP Skin
// Host" window. Says "ready" on stdout, ends when the file named by its argument appears.
#include <cstdio>

#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    WNDCLASSW skin{};
    skin.lpfnWndProc = DefWindowProcW;
    skin.hInstance = GetModuleHandleW(nullptr);
    skin.lpszClassName = L"WMP Skin Host";
    if (!RegisterClassW(&skin))
        return 1;
    HWND window = CreateWindowExW(0, L"WMP Skin Host", L"Stand-in player", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, skin.hInstance, nullptr);
    if (!window)
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    while (GetFileAttributesW(argv[1]) == INVALID_FILE_ATTRIBUTES) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(50);
    }
    DestroyWindow(window);
    std::puts("closed");
    return 0;
}
