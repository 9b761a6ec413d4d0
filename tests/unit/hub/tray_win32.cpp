// The tray icon and its menu inside the running hub: notifications posted to "TrayWindow" as the
// notification area would send them; the open menu read inside this process, which owns it.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "hub/autostart.h"
#include "hub/consolelayout.h"
#include "hub/consolepainter.h"
#include "hub/messageloop.h"
#include "hub/programfile.h"
#include "hub/tolvanu.h"
#include "hub/trayicon.h"
#include "profile.h"
#include "vcore/regkey.h"

namespace {

constexpr UINT notification = WM_USER + 1;
constexpr UINT_PTR watchdog = 0x7A11;
constexpr const char16_t* hubKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu";
constexpr const char16_t* devicesKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\devices";

struct shownItem {
    UINT id = 0;
    bool separator = false;
    bool checked = false;
    std::wstring text;
};

// Reads the menu its owner receives in WM_INITMENUPOPUP and, once the menu idles, chooses an
// item with the keys a user would press (or just closes it when choice is 0).
class menuProbe {
public:
    explicit menuProbe(HWND owner) : owner_(owner)
    {
        active = this;
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&menuProbe::proc)));
    }
    ~menuProbe()
    {
        SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        active = nullptr;
    }

    // Right click on the icon, as the notification area reports it; returns when the menu closed
    // (or the watchdog closed it after 10 s).
    void open(hub::trayicon& tray, UINT choice)
    {
        choice_ = choice;
        commanded = 0;
        items.clear();
        opened = false;
        timedOut = false;
        const HWND window = static_cast<HWND>(tray.window());
        PostMessageW(window, notification, static_cast<UINT>(reinterpret_cast<uintptr_t>(&tray)), WM_RBUTTONDOWN);
        SetTimer(owner_, watchdog, 10000, nullptr);
        MSG message;
        // The menu runs its own loop inside the dispatch of the notification.
        while (PeekMessageW(&message, window, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        KillTimer(owner_, watchdog);
    }

    std::vector<shownItem> items;
    COLORREF background = CLR_INVALID;
    bool opened = false;
    bool timedOut = false;
    UINT commanded = 0;  // the WM_COMMAND the console window received
    // Called with the menu's window once it is open and idle, before the keys.
    std::function<void(HWND)> onIdle;

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        menuProbe* self = active;
        if (message == WM_COMMAND && HIWORD(wParam) == 0)
            self->commanded = LOWORD(wParam);
        if (message == WM_INITMENUPOPUP)
            self->read(reinterpret_cast<HMENU>(wParam));
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && !self->keysSent_) {
            if (self->onIdle)
                self->onIdle(reinterpret_cast<HWND>(lParam));
            self->choose(reinterpret_cast<HWND>(lParam));
        }
        if (message == WM_TIMER && wParam == watchdog) {
            self->timedOut = true;
            EndMenu();
            return 0;
        }
        return CallWindowProcW(self->original_, window, message, wParam, lParam);
    }

    void read(HMENU menu)
    {
        opened = true;
        keysSent_ = false;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = 255;
            GetMenuItemInfoW(menu, UINT(i), TRUE, &info);
            items.push_back({info.wID, (info.fType & MFT_SEPARATOR) != 0, (info.fState & MFS_CHECKED) != 0, text});
        }
        MENUINFO menuInfo{};
        menuInfo.cbSize = sizeof menuInfo;
        menuInfo.fMask = MIM_BACKGROUND;
        LOGBRUSH brush{};
        if (GetMenuInfo(menu, &menuInfo) && menuInfo.hbrBack && GetObjectW(menuInfo.hbrBack, sizeof brush, &brush))
            background = brush.lbColor;
    }

    // Down arrows to the item (separators are skipped), then Enter; Escape when nothing is chosen.
    void choose(HWND menuWindow)
    {
        keysSent_ = true;
        auto key = [menuWindow](WPARAM k) {
            PostMessageW(menuWindow, WM_KEYDOWN, k, 0);
            PostMessageW(menuWindow, WM_KEYUP, k, 0xC0000000);
        };
        if (!choice_) {
            key(VK_ESCAPE);
            return;
        }
        for (const shownItem& item : items) {
            if (item.separator)
                continue;
            key(VK_DOWN);
            if (item.id == choice_)
                break;
        }
        key(VK_RETURN);
    }

    static inline menuProbe* active = nullptr;
    HWND owner_;
    WNDPROC original_ = nullptr;
    UINT choice_ = 0;
    bool keysSent_ = false;
};

bool quitSeen = false;

// Dispatches until done() holds, for at most 10 s; notes a quit message in quitSeen.
template <class Done>
bool pumpUntil(Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG message;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitSeen = true;
                continue;
            }
            DispatchMessageW(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    return true;
}

bool devicesKept()
{
    vcore::regkey key;
    return key.open(devicesKey);
}

void addDevice()
{
    vcore::regkey key;
    ASSERT_TRUE(key.open(devicesKey, true));
    ASSERT_TRUE(key.writeDword(u"tablet", 1));
}

uint32_t storedLevel()
{
    vcore::regkey key;
    uint32_t level = 12345;
    if (key.open(hubKey))
        key.readDword(u"security", level);
    return level;
}

void setRunValue(const std::wstring& path)
{
    HKEY run = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                             0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr));
    RegSetValueExW(run, L"Tolvanu", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   DWORD((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(run);
}

HICON resourceIcon(int id)
{
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

class TrayMenu : public ::testing::Test {
protected:
    // The hub's item for a level or command, and the menu's answer to choosing it.
    void choose(UINT id)
    {
        probe.open(*hub.tray(), id);
        ASSERT_TRUE(probe.opened) << "no menu opened on the right click";
        ASSERT_FALSE(probe.timedOut) << "the menu did not close on the keys";
        // The chosen item arrives as WM_COMMAND posted to the console window.
        quitSeen = false;
        if (id) {
            ASSERT_TRUE(pumpUntil([&] { return probe.commanded == id; })) << "no WM_COMMAND " << id;
        }
    }

    hub::messageloop loop;
    scratchProfile profile;
    Tolvanu hub;
    menuProbe probe{static_cast<HWND>(hub.window())};
};

TEST_F(TrayMenu, RightClickOpensTheMenuWithItsItemsChecksAndColour)
{
    hub.setLevel(-1);
    setRunValue(L"C:\\Program Files\\Tolvanu\\TOLVANU.EXE");
    probe.open(*hub.tray(), 0);
    ASSERT_TRUE(probe.opened);
    EXPECT_FALSE(probe.timedOut);
    EXPECT_EQ(RGB(208, 217, 224), probe.background);

    const std::vector<shownItem>& items = probe.items;
    const size_t plugins = size_t(hub.host().count());
    ASSERT_EQ(11 + plugins + (plugins ? 1 : 0), items.size());
    EXPECT_EQ(2u, items[0].id);
    EXPECT_EQ(L"Tolvanu(" + std::wstring(reinterpret_cast<const wchar_t*>(hub::versionText().data())) + L") Console",
              items[0].text);
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(3u, items[2].id);
    EXPECT_EQ(L"Autostart", items[2].text);
    EXPECT_TRUE(items[2].checked);
    EXPECT_TRUE(items[3].separator);
    for (size_t i = 0; i < plugins; ++i) {
        EXPECT_EQ(4097u + i, items[4 + i].id);
        EXPECT_EQ(reinterpret_cast<const wchar_t*>(hub.host().plugin(int32_t(i)).instanceName().data()),
                  items[4 + i].text);
        EXPECT_FALSE(items[4 + i].checked) << "no session runs";
    }
    const size_t levels = 4 + plugins + (plugins ? 1 : 0);
    if (plugins) {
        EXPECT_TRUE(items[levels - 1].separator);
    }
    const wchar_t* const texts[] = {L"Security: trust all", L"Security: ask once", L"Security: ask per session",
                                    L"Security: ask every time", L"Security: block all"};
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(256u + k, items[levels + k].id);
        EXPECT_EQ(texts[k], items[levels + k].text);
        EXPECT_EQ(k == 1, items[levels + k].checked) << "a fresh level shows ask once";
    }
    EXPECT_TRUE(items[levels + 5].separator);
    EXPECT_EQ(1u, items[levels + 6].id);
    EXPECT_EQ(L"Exit", items[levels + 6].text);
}

TEST_F(TrayMenu, EachRightClickBuildsTheMenuAnewWithTheCurrentLevel)
{
    hub.setLevel(0);
    probe.open(*hub.tray(), 0);
    const size_t levels = probe.items.size() - 7;
    EXPECT_TRUE(probe.items[levels].checked) << "trust all";
    hub.setLevel(7);
    probe.open(*hub.tray(), 0);
    EXPECT_FALSE(probe.items[levels].checked);
    EXPECT_TRUE(probe.items[levels + 4].checked) << "block all";
}

TEST_F(TrayMenu, AskPerSessionForgetsTheDevicesAtOnceAndIsWrittenAtShutdown)
{
    addDevice();
    choose(258);
    EXPECT_EQ(2, hub.level());
    EXPECT_FALSE(devicesKept());
    hub.stop();
    EXPECT_EQ(2u, storedLevel());
}

TEST_F(TrayMenu, AskOnceAndTrustAllKeepTheDevicesStricterLevelsDeleteThem)
{
    addDevice();
    choose(257);
    EXPECT_EQ(1, hub.level());
    EXPECT_TRUE(devicesKept());
    choose(256);
    EXPECT_EQ(0, hub.level());
    EXPECT_TRUE(devicesKept());
    choose(259);
    EXPECT_EQ(3, hub.level());
    EXPECT_FALSE(devicesKept());
    addDevice();
    choose(260);
    EXPECT_EQ(4, hub.level());
    EXPECT_FALSE(devicesKept());
}

// Autostart counts only a value naming Tolvanu.exe; setting it writes this program's own path.
TEST_F(TrayMenu, AutostartItemSwitchesTheRunValue)
{
    setRunValue(L"C:\\Tolvanu\\Tolvanu.exe");
    ASSERT_TRUE(hub::autostartEnabled());
    choose(3);
    EXPECT_TRUE(hub::autostartProgram().empty()) << "switched off";
    choose(3);
    EXPECT_TRUE(hub::autostartProgram() == hub::programPath()) << "switched on";
}

TEST_F(TrayMenu, ConsoleItemAndALeftClickOnTheIconShowTheConsole)
{
    const HWND console = static_cast<HWND>(hub.window());
    ASSERT_FALSE(IsWindowVisible(console));
    choose(2);
    EXPECT_TRUE(IsWindowVisible(console));

    hub.setVisible(false);
    const auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(hub.tray()));
    PostMessageW(static_cast<HWND>(hub.tray()->window()), notification, id, WM_LBUTTONDOWN);
    EXPECT_TRUE(pumpUntil([&] { return IsWindowVisible(console) != FALSE; }));
}

TEST_F(TrayMenu, ExitEndsTheMessageLoop)
{
    choose(1);
    EXPECT_TRUE(pumpUntil([] { return quitSeen; }));
}

TEST_F(TrayMenu, ClosingTheMenuWithoutChoosingActsOnNothing)
{
    hub.setLevel(3);
    choose(0);
    hub::messageloop::dispatchPending(100);
    EXPECT_EQ(3, hub.level());
    EXPECT_EQ(0u, probe.commanded);
}

// The icon switches are posted from the worker and carried out on the main thread, which here
// waits for the worker without dispatching: a sent message would never return.
TEST_F(TrayMenu, IconSwitchesFromAnotherThreadNeverWaitForTheMainThread)
{
    std::promise<void> finished;
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i) {
            hub.onOnline();
            hub.onOffline();
        }
        hub.onOnline();
        finished.set_value();
    });
    const bool done = finished.get_future().wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (done)
        worker.join();
    else
        worker.detach();
    ASSERT_TRUE(done) << "a worker waited for the busy main thread";

    EXPECT_TRUE(pumpUntil([&] { return hub.tray()->icon() == 102; }));
    const HICON active = resourceIcon(102);
    ASSERT_NE(nullptr, active) << "icon 102 is a resource of the program";
    EXPECT_EQ(reinterpret_cast<LRESULT>(active),
              SendMessageW(static_cast<HWND>(hub.window()), WM_GETICON, ICON_SMALL, 0));
    hub.onOffline();
    EXPECT_TRUE(pumpUntil([&] { return hub.tray()->icon() == 101; }));
    EXPECT_EQ(reinterpret_cast<LRESULT>(resourceIcon(101)),
              SendMessageW(static_cast<HWND>(hub.window()), WM_GETICON, ICON_SMALL, 0));
}

struct mouseEvents {
    std::vector<std::string> raised;
    void clicked() { raised.push_back("clicked"); }
    void doubleClicked() { raised.push_back("doubleClicked"); }
    void rightClicked() { raised.push_back("rightClicked"); }
    void rightDoubleClicked() { raised.push_back("rightDoubleClicked"); }
    void midClicked() { raised.push_back("midClicked"); }
    void midDoubleClicked() { raised.push_back("MidDoubleClicked"); }
};

TEST(TrayIcon, NotificationsRaiseTheSixMouseEventsAndMovesRememberTheForegroundWindow)
{
    mouseEvents events;
    hub::trayicon tray;
    ASSERT_EQ(tray.window(), FindWindowW(L"TrayWindow", nullptr));
    tray.addHandler(u"clicked", &events, &mouseEvents::clicked);
    tray.addHandler(u"doubleClicked", &events, &mouseEvents::doubleClicked);
    tray.addHandler(u"rightClicked", &events, &mouseEvents::rightClicked);
    tray.addHandler(u"rightDoubleClicked", &events, &mouseEvents::rightDoubleClicked);
    tray.addHandler(u"midClicked", &events, &mouseEvents::midClicked);
    tray.addHandler(u"MidDoubleClicked", &events, &mouseEvents::midDoubleClicked);
    tray.add();  // refused without a notification area: the notifications still arrive

    const HWND window = static_cast<HWND>(tray.window());
    const WPARAM id = static_cast<UINT>(reinterpret_cast<uintptr_t>(&tray));
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN,
                       WM_MBUTTONDBLCLK, WM_LBUTTONUP, WM_RBUTTONUP})
        SendMessageW(window, notification, id, mouse);
    SendMessageW(window, notification, id + 1, WM_LBUTTONDOWN);  // another icon's notification
    EXPECT_EQ((std::vector<std::string>{"clicked", "doubleClicked", "rightClicked", "rightDoubleClicked",
                                        "midClicked", "MidDoubleClicked"}),
              events.raised);

    HWND front = CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    SetForegroundWindow(front);
    SendMessageW(window, notification, id, WM_MOUSEMOVE);
    EXPECT_EQ(GetForegroundWindow(), tray.foreground());
    EXPECT_EQ(events.raised.size(), 6u) << "a move raises nothing";
    DestroyWindow(front);
}

} // namespace

namespace {

NOTIFYICONDATAW tipChange(const hub::trayicon& tray)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = static_cast<HWND>(tray.window());
    data.uID = static_cast<UINT>(reinterpret_cast<uintptr_t>(&tray));
    data.uFlags = NIF_TIP;
    lstrcpynW(data.szTip, L"Tolvanu", ARRAYSIZE(data.szTip));
    return data;
}

// Part of the screen as a 24-bit BMP file (the test script makes PNG files of them).
void saveScreen(const RECT& part, const std::wstring& path)
{
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, part.left, part.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = DWORD((width * 3 + 3) & ~3);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * DWORD(height);
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), std::streamsize(stride) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

hub::rgb screenPixel(int x, int y)
{
    const HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// Only with a notification area: tray_desktop_wine.sh runs it under Xvfb in Wine's virtual
// desktop; the null display driver of the other runs has none.
TEST(TrayOnDesktop, TheHubAddsItsIconAndTheIconGoesBeforeItsWindow)
{
    if (!GetEnvironmentVariableW(L"TOLVANU_TRAY_DESKTOP", nullptr, 0))
        GTEST_SKIP() << "no notification area here (see tray_desktop_wine.sh)";
    hub::messageloop loop;
    scratchProfile profile;
    {
        Tolvanu hub;
        ASSERT_TRUE(hub.tray()->added()) << "the notification area refused the icon";
        NOTIFYICONDATAW known = tipChange(*hub.tray());
        EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &known));
        hub.onOnline();
        EXPECT_TRUE(pumpUntil([&] { return hub.tray()->icon() == 102; }));
    }
    hub::trayicon tray;
    ASSERT_TRUE(tray.add());
    NOTIFYICONDATAW known = tipChange(tray);
    tray.remove();
    EXPECT_FALSE(tray.added());
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &known)) << "still in the notification area";
}

} // namespace

namespace {

// The console on the screen as WM_PAINT left it, and the open menu; saved where
// TOLVANU_SCREENSHOTS points (a Windows path), for the README.
TEST(TrayOnDesktop, TheConsoleOnScreenAndTheOpenMenu)
{
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"TOLVANU_TRAY_DESKTOP", nullptr, 0) ||
        !GetEnvironmentVariableW(L"TOLVANU_SCREENSHOTS", folder, MAX_PATH))
        GTEST_SKIP() << "no desktop to take pictures of (see tray_desktop_wine.sh)";
    hub::messageloop loop;
    scratchProfile profile;
    Tolvanu hub;
    for (int i = 1; i <= 60; ++i)
        hub.log(vcore::str::formatted(u"line %d", i));
    vcore::str address(u"192.0.2.2");
    hub.host().emitEvent(u"ip", &address);
    const HWND console = static_cast<HWND>(hub.window());
    SetWindowPos(console, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
    hub.setVisible(true);
    UpdateWindow(console);
    POINT origin{0, 0};
    ClientToScreen(console, &origin);
    const hub::consolelayout layout = hub.painter()->layout();
    const int rightX = origin.x + layout.rightPanel.left + 3;
    EXPECT_TRUE(pumpUntil([&] { return screenPixel(origin.x + 3, origin.y + 3) == hub::rgb{48, 48, 48}; }))
        << "the left panel";
    EXPECT_EQ((hub::rgb{32, 32, 32}), screenPixel(rightX, origin.y + 3)) << "the right panel";
    RECT frame{};
    GetWindowRect(console, &frame);
    saveScreen(frame, std::wstring(folder) + L"\\console.bmp");

    menuProbe probe(console);
    RECT menuFrame{};
    probe.onIdle = [&](HWND menu) {
        GetWindowRect(menu, &menuFrame);
        saveScreen(menuFrame, std::wstring(folder) + L"\\menu.bmp");
    };
    SetCursorPos(frame.left + 300, frame.top + 300);
    probe.open(*hub.tray(), 0);
    EXPECT_TRUE(probe.opened);
    EXPECT_GT(menuFrame.bottom - menuFrame.top, 100) << "the menu's window";
}

} // namespace
