// The console's painting inside the hub: layout on resize, the log's message area with its fade.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "hub/consolepainter.h"
#include "hub/messageloop.h"
#include "hub/tolvanu.h"
#include "profile.h"

namespace {

// The client area of the console, made width by height.
void resizeClient(HWND window, int width, int height)
{
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class ConsolePaint : public ::testing::Test {
protected:
    // Whether a pixel of colour c lies in the message area rows [top, bottom).
    bool colourInRows(const hub::rgb& c, int top, int bottom)
    {
        const hub::box area = hub.painter()->layout().messageArea;
        for (int y = top; y < bottom && y < area.height; ++y)
            for (int x = 0; x < area.width; ++x)
                if (hub.painter()->messagePixel(x, y) == c)
                    return true;
        return false;
    }

    hub::messageloop loop;
    scratchProfile profile;
    Tolvanu hub;
};

TEST_F(ConsolePaint, ResizeRecomputesTheLayoutFromTheClientArea)
{
    const HWND window = static_cast<HWND>(hub.window());
    resizeClient(window, 900, 300);
    RECT client{};
    GetClientRect(window, &client);
    ASSERT_EQ(900, client.right);
    ASSERT_EQ(300, client.bottom);
    const hub::consolelayout layout = hub.painter()->layout();
    EXPECT_EQ((hub::box{310, 20, 590, 270}), layout.messageArea);
    EXPECT_EQ((hub::box{10, 110, 280, 180}), layout.pluginList);
}

TEST_F(ConsolePaint, SixtyLinesTheNewestOnTopInTheFadeAndTheAreaEndsInBackground)
{
    for (int i = 1; i <= 60; ++i)
        hub.log(vcore::str::formatted(u"line %d: WWWWWWWWWW", i));
    const hub::box area = hub.painter()->layout().messageArea;
    ASSERT_GT(area.height, 13 * 3);
    const hub::rgb background{32, 32, 32};
    EXPECT_EQ(background, hub.painter()->messagePixel(area.width - 2, 5)) << "lines are 4 pixels narrower";
    EXPECT_TRUE(colourInRows(hub::messageColour(0), 0, 13)) << "line 0 in RGB(0, 170, 255)";
    EXPECT_FALSE(colourInRows(hub::messageColour(0), 14, area.height)) << "line 0's colour below it";
    EXPECT_TRUE(colourInRows(hub::messageColour(1), 13, 27));
    EXPECT_TRUE(colourInRows(hub::messageColour(10), 130, 144));
    const int lines = hub::messageLines(area.height);
    EXPECT_FALSE(colourInRows(hub::messageColour(lines - 1), 13 * lines + 1, area.height))
        << "nothing below the last line";
}

// Log lines and address reports from a worker are painted on its own thread through a window DC: the main thread,
// here waiting for the worker without dispatching, is never asked for anything.
TEST_F(ConsolePaint, LinesFromAnotherThreadPaintWhileTheMainThreadWaits)
{
    std::promise<void> finished;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            hub.log(vcore::str::formatted(u"worker %d", i));
            vcore::str address = vcore::str::formatted(u"10.0.0.%d", i % 3);
            hub.host().emitEvent(u"ip", &address);
        }
        finished.set_value();
    });
    const bool done = finished.get_future().wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    if (done)
        worker.join();
    else
        worker.detach();
    ASSERT_TRUE(done) << "a worker waited for the busy main thread";
    EXPECT_TRUE(colourInRows(hub::messageColour(0), 0, 13));
    int reported = 0;
    for (const hub::addressrow& row : hub.addresses().rows())
        reported += row.text == u"10.0.0.0" || row.text == u"10.0.0.1" || row.text == u"10.0.0.2";
    EXPECT_EQ(3, reported) << "each once";
}

} // namespace

namespace {

// The hub's own thread builds it, stops it while a worker keeps logging and reporting addresses
// (painted from the worker), and takes it down; 50 times. A paint that waited for the hub's
// thread would hang it.
TEST(ConsoleShutdown, LinesFromAnotherThreadDuringShutdownNeverHoldTheHubUp)
{
    scratchProfile profile;
    std::promise<int> finished;
    std::thread hubThread([&] {
        hub::messageloop loop;
        int cycles = 0;
        for (; cycles < 50; ++cycles) {
            Tolvanu hub;
            std::atomic<bool> flooding{true};
            std::thread worker([&] {
                for (int i = 0; flooding; ++i) {
                    hub.log(vcore::str::formatted(u"worker %d", i));
                    vcore::str address = vcore::str::formatted(u"10.0.0.%d", i % 5);
                    hub.host().emitEvent(u"ip", &address);
                }
            });
            hub.log(vcore::str(u"closing"));
            hub::messageloop::dispatchPending(5);
            hub.stop();
            flooding = false;
            worker.join();
        }
        finished.set_value(cycles);
    });
    std::future<int> done = finished.get_future();
    const bool ended = done.wait_for(std::chrono::seconds(120)) == std::future_status::ready;
    if (ended)
        hubThread.join();
    else
        hubThread.detach();
    ASSERT_TRUE(ended) << "a shutdown hung";
    EXPECT_EQ(50, done.get());
}

} // namespace
