#include <gtest/gtest.h>
#include <windows.h>

#include "hub/messageloop.h"
#include "hub/tolvanu.h"
#include "profile.h"
#include "vcore/regkey.h"

namespace {

TEST(ConsoleWindow, CloseRequestToTheMainWindowEndsTheLoop)
{
    hub::messageloop loop;
    hub::console console;
    EXPECT_EQ(console.window(), FindWindowW(nullptr, L"Tolvanu Console"));
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(console.window())));

    hub::console::setMainWindow(&console);
    PostMessageW(static_cast<HWND>(console.window()), WM_CLOSE, 0, 0);
    loop.run();
    hub::console::setMainWindow(nullptr);
    EXPECT_TRUE(IsWindow(static_cast<HWND>(console.window()))) << "the window goes with the console object";
}

TEST(ConsoleWindow, CloseRequestToAnotherWindowIsIgnored)
{
    hub::console console;
    SendMessageW(static_cast<HWND>(console.window()), WM_CLOSE, 0, 0);
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(ConsoleWindow, SessionEndWritesTheSettingsAtOnce)
{
    scratchProfile profile;
    Tolvanu hub;
    hub.setLevel(4);
    SendMessageW(static_cast<HWND>(hub.window()), WM_ENDSESSION, TRUE, 0);
    vcore::regkey key;
    uint32_t level = 0;
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu"));
    ASSERT_TRUE(key.readDword(u"security", level));
    EXPECT_EQ(4u, level);
}

} // namespace
