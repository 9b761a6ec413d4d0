#include "hub/console.h"

#include <windows.h>

namespace hub {

namespace {

constexpr const wchar_t* windowClass = L"TolvanuConsole";
constexpr const wchar_t* windowTitle = L"Tolvanu Console";

LRESULT CALLBACK consoleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<console*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CLOSE:
        // Closing the main window ends the hub; the window itself goes with the console object.
        if (console* main = console::mainWindow(); main && main->window() == window)
            PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && self && self->command(LOWORD(wParam)))
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT: {
        if (!self || !self->paints())
            break;
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        self->paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        // The painter covers the whole client area.
        if (self && self->paints())
            return 1;
        break;
    case WM_SIZE:
        if (self)
            self->sized(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ENDSESSION:
        if (wParam && self)
            self->endSession();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = consoleProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);
}

} // namespace

console::console()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance);
    window_ = CreateWindowExW(0, windowClass, windowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 600,
                              500, nullptr, nullptr, instance, this);
}

console::~console()
{
    if (window_)
        DestroyWindow(static_cast<HWND>(window_));
}

void console::setVisible(bool visible) { ShowWindow(static_cast<HWND>(window_), visible ? SW_SHOW : SW_HIDE); }

void console::resize(int width, int height)
{
    SetWindowPos(static_cast<HWND>(window_), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void console::toForeground() { SetForegroundWindow(static_cast<HWND>(window_)); }

// The console's message area paints the log ring itself.
void console::showLine(const vcore::str&) {}

} // namespace hub
