#include "hub/console.h"

#include <windows.h>
#include <windowsx.h>

namespace hub {

namespace {

constexpr const wchar_t* windowClass = L"TolvanuConsole";
constexpr const wchar_t* windowTitle = L"Tolvanu Console";
// Another program on this PC has a class connected: first parameter the class name, second
// null or where the port goes.
constexpr UINT connectMessage = WM_USER + 128;

// The window moves so that the grabbed point is under the pointer at (x, y) again.
void drag(HWND window, const console::grabpoint& grab, int x, int y)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, frame.left + x - grab.x, frame.top + y - grab.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

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
    case WM_KEYDOWN:
        // Escape closes the console, which as the main window ends the hub.
        if (wParam == VK_ESCAPE) {
            SendMessageW(window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        if (self) {
            self->grab() = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), true};
            SetCapture(window);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (self && self->grab().held && (wParam & MK_LBUTTON))
            drag(window, self->grab(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (self)
            self->grab().held = false;
        if (message == WM_LBUTTONUP)
            ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL: {
        // The wheel comes to the window with the focus: the list under the pointer scrolls.
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(window, &at);
        const HWND under = ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
        // A child that hands the wheel on to its parent must not get it back.
        static thread_local bool forwarding = false;
        if (!under || under == window || forwarding)
            break;
        forwarding = true;
        const LRESULT result = SendMessageW(under, message, wParam, lParam);
        forwarding = false;
        return result;
    }
    case connectMessage: {
        if (!self || !wParam)
            break;
        const int32_t port = self->connectRequest(reinterpret_cast<const char16_t*>(wParam));
        if (lParam)
            *reinterpret_cast<int32_t*>(lParam) = port;
        if (port > 0)
            return 1;
        break;
    }
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
