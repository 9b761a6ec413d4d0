#include "hub/trayicon.h"

#include <windows.h>

#include <shellapi.h>

namespace hub {

namespace {

constexpr const wchar_t* windowClass = L"TrayWindow";
constexpr UINT notification = WM_USER + 1;
// Private to the tray window: an icon switch posted from another thread.
constexpr UINT switchRequest = WM_USER + 2;

HICON loadIcon(int resource)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

// The identifier travels as a 32-bit value; on the 64-bit build only its low half.
UINT idOf(const trayicon* tray) { return static_cast<UINT>(reinterpret_cast<uintptr_t>(tray)); }

NOTIFYICONDATAW iconData(const trayicon* tray)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = static_cast<HWND>(tray->window());
    data.uID = idOf(tray);
    return data;
}

LRESULT CALLBACK trayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* tray = reinterpret_cast<trayicon*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == notification && tray && UINT(wParam) == idOf(tray)) {
        tray->notify(static_cast<unsigned>(lParam));
        return 0;
    }
    if (message == switchRequest && tray) {
        tray->switchIcon(static_cast<int>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

trayicon::trayicon()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = trayProc;
    wc.hInstance = instance;
    wc.lpszClassName = windowClass;
    RegisterClassExW(&wc);
    window_ = CreateWindowExW(0, windowClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr, instance, this);
}

trayicon::~trayicon()
{
    remove();
    if (window_)
        DestroyWindow(static_cast<HWND>(window_));
}

bool trayicon::add()
{
    if (!window_ || added_)
        return added_;
    NOTIFYICONDATAW data = iconData(this);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = notification;
    data.hIcon = loadIcon(icon_);
    lstrcpynW(data.szTip, L"Tolvanu", ARRAYSIZE(data.szTip));
    added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
    return added_;
}

void trayicon::remove()
{
    if (!added_)
        return;
    NOTIFYICONDATAW data = iconData(this);
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = false;
}

void trayicon::showIcon(int resource)
{
    if (window_)
        PostMessageW(static_cast<HWND>(window_), switchRequest, WPARAM(resource), 0);
}

void trayicon::switchIcon(int resource)
{
    icon_ = resource;
    if (added_) {
        NOTIFYICONDATAW data = iconData(this);
        data.uFlags = NIF_ICON;
        data.hIcon = loadIcon(resource);
        Shell_NotifyIconW(NIM_MODIFY, &data);
    }
    emitEvent(iconChanged, &resource);
}

void trayicon::notify(unsigned mouseMessage)
{
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        foreground_ = GetForegroundWindow();
        break;
    case WM_LBUTTONDOWN:
        emitEvent(u"clicked");
        break;
    case WM_LBUTTONDBLCLK:
        emitEvent(u"doubleClicked");
        break;
    case WM_RBUTTONDOWN:
        emitEvent(u"rightClicked");
        break;
    case WM_RBUTTONDBLCLK:
        emitEvent(u"rightDoubleClicked");
        break;
    case WM_MBUTTONDOWN:
        emitEvent(u"midClicked");
        break;
    case WM_MBUTTONDBLCLK:
        emitEvent(u"MidDoubleClicked");
        break;
    default:
        break;
    }
}

void showTraymenu(void* owner, const std::vector<trayitem>& items)
{
    const HWND window = static_cast<HWND>(owner);
    const HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    for (const trayitem& item : items) {
        if (item.separator())
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), item.id,
                        reinterpret_cast<const wchar_t*>(item.text.data()));
    }
    const HBRUSH background = CreateSolidBrush(RGB(208, 217, 224));
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = background;
    SetMenuInfo(menu, &info);

    POINT at{};
    GetCursorPos(&at);
    // Without its owner in front, a tray menu stays open after a click elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_BOTTOMALIGN | TPM_LEFTBUTTON, at.x, at.y - 1, 0, window, nullptr);
    // Lets the owner's thread notice the menu has gone before the next right click.
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    DeleteObject(background);
}

} // namespace hub
