// The system service's Windows machine under Wine: real SendInput into a window of ours, real
// ShowWindow on the window in front, and Core Audio against the stand-in endpoint that
// system_under_wine.sh registers in this test's own prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "plugins/system/desktop.h"
#include "plugins/system/systemservice.h"
#include "tests/doubles/endpoint/control.h"
#include "tests/support/programenv.h"
#include "vcore/semaphore.h"

namespace {

struct seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<seen> messages;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP:
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MOUSEWHEEL:
        messages.push_back({message, wParam, lParam});
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Pumps this thread's messages until done() holds or 10 s have passed.
bool pumpUntil(const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return true;
}

bool arrived(UINT message, const std::function<bool(const seen&)>& match = {})
{
    return pumpUntil([&] {
        for (const seen& s : messages)
            if (s.message == message && (!match || match(s)))
                return true;
        return false;
    });
}

int scanOf(const seen& s) { return int((s.lParam >> 16) & 0xFF); }
bool extendedOf(const seen& s) { return (s.lParam & (1 << 24)) != 0; }

std::string narrowed(vcore::str text)
{
    return std::string(text.narrow(), size_t(text.length()));
}

class recordingOutlet : public systemctl::outlet {
public:
    void report(const vcore::str& text, bool) override { reports.push_back(narrowed(text)); }
    void log(const vcore::str& line) override { lines.push_back(narrowed(line)); }
    bool isThisHost(const vcore::str& address) override { return address.empty(); }
    vcore::str computerName() override { return vcore::str(u"WINEPC"); }

    std::vector<std::string> reports;
    std::vector<std::string> lines;
};

// The service over the platform's own machine, acting for an admitted client.
struct liveService {
    liveService()
        : pc(systemctl::makeDesktop([](const vcore::str&) {})), service(*pc, out, lock)
    {
        service.connect();
    }
    void say(const char16_t* text) { service.handle(vcore::str(text), vcore::str(u"10.77.7.7")); }

    std::unique_ptr<systemctl::machine> pc;
    recordingOutlet out;
    vcore::semaphore lock;
    systemctl::systemService service;
};

class WineInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        messages.clear();
        WNDCLASSW type{};
        type.lpfnWndProc = recordingProc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"TolvanuSystemTarget";
        RegisterClassW(&type);
        window = CreateWindowExW(0, L"TolvanuSystemTarget", L"Target window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 100, 100, 400, 400, nullptr, nullptr, type.hInstance, nullptr);
        ASSERT_TRUE(window);
        SetForegroundWindow(window);
        ASSERT_TRUE(pumpUntil([&] { return GetForegroundWindow() == window; })) << "our window in front";
    }
    void TearDown() override
    {
        if (window)
            DestroyWindow(window);
    }

    HWND window = nullptr;
    liveService live;
};

TEST_F(WineInput, ScanCodeKeysReachTheWindowInFront)
{
    live.say(u"k 30");  // A
    live.say(u"K 30");
    live.say(u"k 0xE04D");  // right arrow, extended
    live.say(u"K 0xE04D");
    live.say(u"k 42");  // left shift
    live.say(u"K 42");
    ASSERT_TRUE(arrived(WM_KEYUP, [](const seen& s) { return scanOf(s) == 42; }));
    std::vector<std::string> keys;
    for (const seen& s : messages) {
        if (s.message == WM_KEYDOWN || s.message == WM_KEYUP)
            keys.push_back(std::string(s.message == WM_KEYDOWN ? "down " : "up ") + std::to_string(scanOf(s)) +
                           (extendedOf(s) ? " ext" : ""));
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"down 30", "up 30", "down 77 ext", "up 77 ext", "down 42", "up 42"}));
}

TEST_F(WineInput, PointerMovesByTheGivenAmountAndButtonsClickWhereItIs)
{
    // Relative moves follow the user's pointer acceleration (doubled beyond 6 by default):
    // switched off here, so the amounts are the pointer's travel.
    int noAcceleration[3] = {0, 0, 0};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETMOUSE, 0, noAcceleration, 0));
    ASSERT_TRUE(SetCursorPos(300, 300));
    POINT at{};
    ASSERT_TRUE(pumpUntil([&] { return GetCursorPos(&at) && at.x == 300 && at.y == 300; }));
    live.say(u"M 10 -5");
    EXPECT_TRUE(pumpUntil([&] { return GetCursorPos(&at) && at.x == 310 && at.y == 295; }))
        << "pointer at " << at.x << "," << at.y;
    // The mouse record keeps the move's amounts; a button must not move the pointer again.
    live.say(u"Ml");
    live.say(u"ML");
    ASSERT_TRUE(arrived(WM_LBUTTONUP));
    POINT inside{310, 295};
    ScreenToClient(window, &inside);
    for (const seen& s : messages) {
        if (s.message == WM_LBUTTONDOWN) {
            EXPECT_EQ(short(LOWORD(s.lParam)), inside.x);
            EXPECT_EQ(short(HIWORD(s.lParam)), inside.y);
        }
    }
    GetCursorPos(&at);
    EXPECT_EQ(at.x, 310);
    EXPECT_EQ(at.y, 295);
    live.say(u"Mr");
    live.say(u"MR");
    EXPECT_TRUE(arrived(WM_RBUTTONUP));
    live.say(u"MS 120");
    ASSERT_TRUE(arrived(WM_MOUSEWHEEL));
    for (const seen& s : messages) {
        if (s.message == WM_MOUSEWHEEL) {
            EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(s.wParam), 240) << "the amount is doubled";
        }
    }
}

TEST_F(WineInput, PinMaximisesTheWindowInFrontAndASecondPinRestoresIt)
{
    ASSERT_FALSE(IsZoomed(window));
    live.say(u"system.pin");
    EXPECT_TRUE(pumpUntil([&] { return IsZoomed(window) != FALSE; }));
    EXPECT_EQ(live.out.lines.back(), "[system.pinned] Target window");
    live.say(u"system.pin");
    EXPECT_TRUE(pumpUntil([&] { return IsZoomed(window) == FALSE; }));
}

class WineVolume : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto path = testenv::programFolder().parent_path() / "testplugins" / "endpoint" / "standin_endpoint.dll";
        standin = LoadLibraryW(path.wstring().c_str());
        ASSERT_TRUE(standin) << path;
        level = entry<standinLevelProc>("standinLevel");
        setLevel = entry<standinSetLevelProc>("standinSetLevel");
        sets = entry<standinSetsProc>("standinSets");
        setPresent = entry<standinSetPresentProc>("standinSetPresent");
        ASSERT_TRUE(level && setLevel && sets && setPresent);
        setPresent(1);
        setLevel(0.5f);
    }

    template <class T>
    T entry(const char* name)
    {
        return reinterpret_cast<T>(reinterpret_cast<void (*)()>(GetProcAddress(standin, name)));
    }

    HMODULE standin = nullptr;
    standinLevelProc level = nullptr;
    standinSetLevelProc setLevel = nullptr;
    standinSetsProc sets = nullptr;
    standinSetPresentProc setPresent = nullptr;
};

TEST_F(WineVolume, SetAndAddReachTheEndpointAndReportsReadItBack)
{
    liveService live;
    live.say(u"system.set_volume 35");
    EXPECT_FLOAT_EQ(level(), 0.35f);
    live.say(u"system.get_state");
    ASSERT_FALSE(live.out.reports.empty());
    EXPECT_EQ(live.out.reports.back(), "system.volume 35.0");
    live.say(u"system.add_volume -10");
    EXPECT_FLOAT_EQ(level(), 0.25f);
    setLevel(0.6f);  // changed from outside
    live.service.poll();
    EXPECT_EQ(live.out.reports.back(), "system.volume 60.0");
    const size_t reported = live.out.reports.size();
    live.service.poll();
    EXPECT_EQ(live.out.reports.size(), reported) << "no change, no report";
}

TEST_F(WineVolume, WithoutAnEndpointReportsCarryMinusHundred)
{
    setPresent(0);
    liveService live;
    const long before = sets();
    live.say(u"system.set_volume 35");
    live.say(u"system.get_state");
    EXPECT_EQ(sets(), before);
    ASSERT_FALSE(live.out.reports.empty());
    EXPECT_EQ(live.out.reports.back(), "system.volume -100.0");
}

} // namespace
