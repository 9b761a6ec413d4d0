// The console's two lists on a menu double: rows painted, clicks acted on.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "hub/console.h"
#include "hub/consolelists.h"
#include "hub/consolerows.h"

namespace {

class recordingMenu : public hub::menuactions {
public:
    int32_t level() override { return 0; }
    void chooseLevel(int32_t) override {}
    bool autostart() override { return false; }
    void setAutostart(bool) override {}
    std::vector<hub::pluginrow> plugins() override { return rows; }
    void closePlugin(int32_t index) override
    {
        closed.push_back(index);
        rows[size_t(index)].busy = false;
    }
    void setPluginEnabled(int32_t index, bool on) override
    {
        switched.push_back({index, on});
        rows[size_t(index)].enabled = on;
    }
    void closeSessions() override {}
    std::vector<hub::addressrow> addresses() override { return addressRows; }
    std::vector<vcore::str> recentLog() override { return {}; }
    void print(const vcore::str&) override {}
    void exit() override {}

    // Host order; the rows show VLC (busy), Winamp (disabled), system.
    std::vector<hub::pluginrow> rows{{vcore::str(u"system"), vcore::str(u"system"), false, true},
                                     {vcore::str(u"Winamp"), vcore::str(u"media"), false, false},
                                     {vcore::str(u"VLC"), vcore::str(u"media"), true, true}};
    std::vector<hub::addressrow> addressRows{{vcore::str(u"10.0.0.1"), false}, {vcore::str(u"10.0.0.2"), true}};
    std::vector<int32_t> closed;
    std::vector<std::pair<int32_t, bool>> switched;
};

// A window's painting captured into a 32-bit surface of its size.
class capture {
public:
    capture(int width, int height) : width_(width)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<unsigned*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~capture()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    HDC dc() const { return dc_; }
    hub::rgb at(int x, int y) const
    {
        GdiFlush();
        const unsigned p = bits_[y * width_ + x];
        return {int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)};
    }
    bool anyIn(const hub::rgb& c, int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (at(x, y) == c)
                    return true;
        return false;
    }

private:
    int width_;
    HBITMAP bitmap_;
    unsigned* bits_;
    HDC dc_;
    HGDIOBJ old_;
};

class ConsoleLists : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 500, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(nullptr, parent);
        lists = new hub::consolelists(parent, menu);
        lists->place(hub::layoutConsole(600, 500));
    }
    void TearDown() override
    {
        delete lists;
        DestroyWindow(parent);
    }
    HWND pluginList() const { return static_cast<HWND>(lists->pluginWindow()); }
    HWND addressList() const { return static_cast<HWND>(lists->addressWindow()); }
    void click(UINT message, int row, HWND list = nullptr)
    {
        SendMessageW(list ? list : pluginList(), message, 0,
                     MAKELPARAM(30, row * hub::consolelists::rowHeight + 5));
    }
    // Twenty addresses, the tenth current: more than the address list's seven rows.
    void manyAddresses()
    {
        menu.addressRows.clear();
        for (int i = 0; i < 20; ++i)
            menu.addressRows.push_back({vcore::str::formatted(u"10.0.0.%d", i + 1), i == 9});
    }

    recordingMenu menu;
    HWND parent = nullptr;
    hub::consolelists* lists = nullptr;
};

constexpr int rowHeight = hub::consolelists::rowHeight;
const hub::rgb busyMark{240, 160, 0};
const hub::rgb idleMark{16, 16, 16};

TEST_F(ConsoleLists, PlugInRowsPaintedInOrderWithBusyMarksAndDisabledTextBlack)
{
    EXPECT_EQ((std::vector<int32_t>{2, 1, 0}), lists->pluginRows());
    const hub::box where = hub::layoutConsole(600, 500).pluginList;
    RECT client{};
    GetClientRect(pluginList(), &client);
    ASSERT_EQ(where.width, client.right);
    ASSERT_EQ(where.height, client.bottom);

    capture shot(where.width, where.height);
    lists->paintPlugins(shot.dc());
    EXPECT_EQ(busyMark, shot.at(9, 9)) << "VLC, busy, on top";
    EXPECT_EQ(idleMark, shot.at(9, rowHeight + 9));
    EXPECT_TRUE(shot.anyIn({0, 128, 192}, 20, 0, where.width, rowHeight)) << "enabled first text";
    EXPECT_TRUE(shot.anyIn({0, 160, 240}, 20, 0, where.width, rowHeight)) << "enabled second text";
    EXPECT_TRUE(shot.anyIn({0, 0, 0}, 20, rowHeight, where.width, 2 * rowHeight)) << "Winamp disabled: black";
    EXPECT_FALSE(shot.anyIn({0, 128, 192}, 20, rowHeight, where.width, 2 * rowHeight));
    EXPECT_EQ((hub::rgb{48, 48, 48}), shot.at(where.width - 3, 3 * rowHeight + 5)) << "below the rows";
}

TEST_F(ConsoleLists, ClickClosesTheRowsPlugInAndSelectsIt)
{
    click(WM_LBUTTONDOWN, 0);
    EXPECT_EQ((std::vector<int32_t>{2}), menu.closed) << "the row's plug-in, not the host's first";
    EXPECT_EQ(2, lists->selectedPlugin());
    click(WM_LBUTTONDOWN, 7);  // below the rows
    EXPECT_EQ(1u, menu.closed.size());

    const hub::box where = hub::layoutConsole(600, 500).pluginList;
    capture shot(where.width, where.height);
    lists->paintPlugins(shot.dc());
    EXPECT_EQ((hub::rgb{96, 80, 48}), shot.at(where.width - 3, 2)) << "selected";
    EXPECT_EQ(idleMark, shot.at(9, 9)) << "its session closed";
}

TEST_F(ConsoleLists, RightClickSwitchesThePlugInOffAndOnAgain)
{
    click(WM_RBUTTONDOWN, 0);
    click(WM_RBUTTONDOWN, 1);
    click(WM_RBUTTONDOWN, 0);
    EXPECT_EQ((std::vector<std::pair<int32_t, bool>>{{2, false}, {1, true}, {2, true}}), menu.switched);
    EXPECT_TRUE(menu.closed.empty()) << "closing a busy plug-in is the host's part of switching off";
}

TEST_F(ConsoleLists, AddressRowsMarkTheCurrentOne)
{
    const hub::box where = hub::layoutConsole(600, 500).addressList;
    capture shot(where.width, where.height);
    lists->paintAddresses(shot.dc());
    EXPECT_EQ(idleMark, shot.at(9, 9));
    EXPECT_EQ(busyMark, shot.at(9, rowHeight + 9));
    EXPECT_TRUE(shot.anyIn({0, 160, 240}, 20, 0, where.width, rowHeight));
}

int wheelRows()
{
    UINT rows = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &rows, 0);
    return int(rows);
}

TEST_F(ConsoleLists, AddressesPastTheListsHeightScrollByBarAndWheelAndClicksFollow)
{
    manyAddresses();
    const hub::box where = hub::layoutConsole(600, 500).addressList;
    capture shot(where.width, where.height);
    lists->paintAddresses(shot.dc());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(addressList(), SB_VERT, &info)) << "a scroll bar once rows do not fit";
    EXPECT_EQ(19, info.nMax);
    EXPECT_EQ(UINT(where.height / rowHeight), info.nPage);
    EXPECT_EQ(0, info.nPos);
    RECT client{};
    GetClientRect(addressList(), &client);
    EXPECT_LT(client.right, where.width) << "the bar takes its room from the rows";

    SendMessageW(addressList(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(7, lists->addressScroll().first());
    lists->paintAddresses(shot.dc());
    EXPECT_EQ(busyMark, shot.at(9, 2 * rowHeight + 9)) << "the tenth address, current, third from the top";
    EXPECT_EQ(idleMark, shot.at(9, 9));
    info.fMask = SIF_POS;
    GetScrollInfo(addressList(), SB_VERT, &info);
    EXPECT_EQ(7, info.nPos) << "the bar follows";

    click(WM_LBUTTONDOWN, 1, addressList());
    lists->paintAddresses(shot.dc());
    EXPECT_EQ((hub::rgb{96, 80, 48}), shot.at(client.right - 3, rowHeight + 2)) << "the shown row selected";
    SendMessageW(addressList(), WM_VSCROLL, SB_LINEUP, 0);
    lists->paintAddresses(shot.dc());
    EXPECT_EQ((hub::rgb{96, 80, 48}), shot.at(client.right - 3, 2 * rowHeight + 2)) << "selection moves with its row";

    SendMessageW(addressList(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(13, lists->addressScroll().first());
    SendMessageW(addressList(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(std::max(13 - wheelRows(), 0), lists->addressScroll().first());
    SendMessageW(addressList(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(0, lists->addressScroll().first());
}

TEST_F(ConsoleLists, ListsThatFitShowNoScrollBar)
{
    capture shot(600, 500);
    lists->paintPlugins(shot.dc());
    lists->paintAddresses(shot.dc());
    EXPECT_FALSE(GetWindowLongPtrW(pluginList(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongPtrW(addressList(), GWL_STYLE) & WS_VSCROLL);
    SendMessageW(pluginList(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(0, lists->pluginScroll().first());
}

// The wheel goes to the focused console, which hands it to the list under the pointer.
TEST(ConsoleListsInTheConsole, WheelOverAListScrollsThatList)
{
    hub::console console;
    recordingMenu menu;
    for (int i = 0; i < 30; ++i)
        menu.addressRows.push_back({vcore::str::formatted(u"10.0.1.%d", i + 1), false});
    const HWND window = static_cast<HWND>(console.window());
    RECT client{};
    GetClientRect(window, &client);
    hub::consolelists lists(window, menu);
    lists.place(hub::layoutConsole(client.right, client.bottom));
    capture shot(600, 500);
    lists.paintAddresses(shot.dc());
    lists.paintPlugins(shot.dc());

    auto wheelOver = [&](HWND list) {
        RECT frame{};
        GetWindowRect(list, &frame);
        const LPARAM at = MAKELPARAM((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2);
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), at);
    };
    wheelOver(static_cast<HWND>(lists.addressWindow()));
    EXPECT_EQ(std::min(wheelRows(), 30 - lists.addressScroll().visible()), lists.addressScroll().first());
    wheelOver(static_cast<HWND>(lists.pluginWindow()));
    EXPECT_EQ(0, lists.pluginScroll().first()) << "three plug-ins fit";
    EXPECT_EQ(std::min(wheelRows(), 30 - lists.addressScroll().visible()), lists.addressScroll().first());
}

} // namespace
