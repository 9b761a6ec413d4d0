// The console window's keys, mouse and connect request.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hub/messageloop.h"
#include "hub/tolvanu.h"
#include "profile.h"
#include "vcore/regkey.h"

namespace {

constexpr UINT connectMessage = WM_USER + 128;

bool quitQueued()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(ConsoleInput, EscapeEndsTheHubInOrderOnlyFromTheMainWindow)
{
    hub::messageloop loop;
    scratchProfile profile;
    {
        Tolvanu hub;
        const HWND window = static_cast<HWND>(hub.window());
        SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_FALSE(quitQueued()) << "not yet the main window";

        hub.setLevel(3);
        hub::console::setMainWindow(&hub);
        SendMessageW(window, WM_KEYDOWN, 'A', 0);
        EXPECT_FALSE(quitQueued());
        SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(quitQueued());
        hub::console::setMainWindow(nullptr);
    }
    vcore::regkey key;
    uint32_t level = 0;
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu"));
    ASSERT_TRUE(key.readDword(u"security", level));
    EXPECT_EQ(3u, level);
}

RECT frameOf(HWND window)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    return frame;
}

TEST(ConsoleInput, DraggingTheSurfaceKeepsTheGrabbedPointUnderThePointer)
{
    hub::console console;
    const HWND window = static_cast<HWND>(console.window());
    SetWindowPos(window, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 90));
    EXPECT_EQ(100, frameOf(window).left) << "no button went down on the surface";

    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 60));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 65));
    EXPECT_EQ(120, frameOf(window).left);
    EXPECT_EQ(105, frameOf(window).top);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 60));
    EXPECT_EQ(110, frameOf(window).left);

    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(40, 60));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(90, 90));
    EXPECT_EQ(110, frameOf(window).left) << "released";
}

TEST(ConsoleInput, ConnectRequestStoresThePortAndCountsAsHandledOnlyForAPort)
{
    hub::console console;
    std::u16string asked;
    int32_t answer = 6638;
    console.setConnectHandler([&](const char16_t* className) {
        asked = className;
        return answer;
    });
    const HWND window = static_cast<HWND>(console.window());
    const wchar_t* media = L"media";
    int32_t port = -1;
    EXPECT_EQ(1, SendMessageW(window, connectMessage, reinterpret_cast<WPARAM>(media), reinterpret_cast<LPARAM>(&port)));
    EXPECT_EQ(u"media", asked);
    EXPECT_EQ(6638, port);
    EXPECT_EQ(1, SendMessageW(window, connectMessage, reinterpret_cast<WPARAM>(media), 0)) << "no place for the port";

    answer = 0;
    port = -1;
    EXPECT_EQ(0, SendMessageW(window, connectMessage, reinterpret_cast<WPARAM>(media), reinterpret_cast<LPARAM>(&port)));
    EXPECT_EQ(0, port);
    EXPECT_EQ(0, SendMessageW(window, connectMessage + 1, reinterpret_cast<WPARAM>(media), 0)) << "not the hub's";
}

} // namespace
