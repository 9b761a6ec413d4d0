// The system service driving a real PulseAudio sink and a real X display.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <regex>

#include "peers_posix.h"
#include "plugins/common/hostlink.h"
#include "plugins/system/tolvanu_system.h"
#include "support.h"

using namespace std::chrono_literals;
using namespace systemreal;
using nettest::waitUntil;

namespace {

std::mutex logLock;
std::vector<std::string> logLines;

int TOLVANU_STDCALL host(const char16_t* command, const char16_t* argument)
{
    vcore::str a(command), b(argument);
    if (vcore::str(command).equals(u"log")) {
        std::lock_guard<std::mutex> hold(logLock);
        logLines.emplace_back(b.narrow(), size_t(b.length()));
    }
    return 1;
}

size_t logged(const std::string& line)
{
    std::lock_guard<std::mutex> hold(logLock);
    return size_t(std::count(logLines.begin(), logLines.end(), line));
}

int sinkPercent()
{
    const std::string out = run("pactl get-sink-volume tolvanu_test");
    std::smatch m;
    return std::regex_search(out, m, std::regex(R"((\d+)%)")) ? std::stoi(m[1]) : -1;
}

class RealPeers : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* program : {"pulseaudio", "pactl", "Xvfb", "jwm", "xev", "xprop"}) {
            if (!installed(program))
                GTEST_SKIP() << program << " is not installed (scripts/setup)";
        }
        {
            std::lock_guard<std::mutex> hold(logLock);
            logLines.clear();
        }
        plugin::setHostCallback(host);
        pulse = startPulse(folder.path());
        ASSERT_FALSE(run("pactl info").empty()) << pulse.output();
        run("pactl set-default-sink tolvanu_test");
        x = startX(folder.path(), display);
        ASSERT_GE(display, 0) << x.output();
        setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
        wm = child({"jwm"}, folder.path() / "jwm.log");
        ASSERT_TRUE(waitUntil([] { return run("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") !=
                                          std::string::npos; }, 20000ms)) << wm.output();
        // Covers the screen so the pointer is over it and it gets the focus.
        window = child({"xev", "-geometry", "1024x768+0+0", "-name", "tolvanu-target", "-event", "keyboard",
                        "-event", "button", "-event", "mouse"}, folder.path() / "xev.log");
        ASSERT_TRUE(waitUntil([] { return activeWindow() != 0; }, 10000ms)) << "jwm gave xev the focus";
        service = std::make_unique<Tolvanu_system>();
        service->connectSession();
        ASSERT_TRUE(client.bind(nettest::loopback2));
    }

    void TearDown() override { service.reset(); }

    static unsigned long activeWindow()
    {
        std::smatch m;
        const std::string out = run("xprop -root _NET_ACTIVE_WINDOW");
        if (!std::regex_search(out, m, std::regex(R"(# (0x[0-9a-f]+))")))
            return 0;
        return std::stoul(m[1], nullptr, 16);
    }

    void send(const std::string& text)
    {
        ASSERT_TRUE(client.sendTo(text, nettest::loopback, Tolvanu_system::servicePort));
    }
    bool seen(const std::string& pattern)
    {
        return waitUntil([&] { return std::regex_search(window.output(), std::regex(pattern)); }, 5000ms);
    }
    bool logArrives(const std::string& line)
    {
        return waitUntil([&] { return logged(line) > 0; }, 5000ms);
    }

    scratchDir folder;
    child pulse, x, wm, window;
    int display = -1;
    std::unique_ptr<Tolvanu_system> service;
    nettest::peer client;
};

TEST_F(RealPeers, VolumeOfTheNullSink)
{
    send("system.set_volume 35");
    EXPECT_TRUE(waitUntil([] { return sinkPercent() == 35; }, 5000ms)) << sinkPercent();
    send("system.add_volume -10");
    EXPECT_TRUE(waitUntil([] { return sinkPercent() == 25; }, 5000ms)) << sinkPercent();
    // Changed from outside: the poll tells the client.
    run("pactl set-sink-volume tolvanu_test 60%");
    EXPECT_TRUE(logArrives("[media>127.0.0.2] system.volume 60.0"));
    // The poll reads what the server last announced: each later change must still come.
    run("pactl set-sink-volume tolvanu_test 45%");
    EXPECT_TRUE(logArrives("[media>127.0.0.2] system.volume 45.0"));
}

TEST_F(RealPeers, KeysArriveAsTheirXKeys)
{
    send("k 0x2A");
    send("k 0x1E");
    send("K 0x1E");
    send("K 0x2A");
    send("k 0xE04D");
    send("K 0xE04D");
    EXPECT_TRUE(seen(R"(KeyPress event(.|\n)*keycode 50 \(keysym 0xffe1, Shift_L\))"));
    EXPECT_TRUE(seen(R"(KeyPress event(.|\n)*keycode 38 \(keysym 0x41, A\))"));
    EXPECT_TRUE(seen(R"(KeyRelease event(.|\n)*keycode 38 )"));
    EXPECT_TRUE(seen(R"(KeyPress event(.|\n)*keycode 114 \(keysym 0xff53, Right\))"));
    EXPECT_TRUE(seen(R"(KeyRelease event(.|\n)*keycode 114 )"));
}

TEST_F(RealPeers, PointerMovesAndButtonsClick)
{
    send("M 100 100");
    send("M 10 -5");
    std::vector<std::pair<int, int>> points;
    ASSERT_TRUE(waitUntil([&] {
        points.clear();
        const std::string out = window.output();
        const std::regex motion(R"(MotionNotify(.|\n)*?root:\((\d+),(\d+)\))");
        for (auto it = std::sregex_iterator(out.begin(), out.end(), motion); it != std::sregex_iterator(); ++it)
            points.emplace_back(std::stoi((*it)[2]), std::stoi((*it)[3]));
        return points.size() >= 2;
    }, 5000ms));
    const auto& last = points.back();
    const auto& before = points[points.size() - 2];
    EXPECT_EQ(last.first - before.first, 10);
    EXPECT_EQ(last.second - before.second, -5);
    send("Ml");
    send("ML");
    send("Mr");
    send("MR");
    send("MS 120");
    EXPECT_TRUE(seen(R"(ButtonPress event(.|\n)*button 1,)"));
    EXPECT_TRUE(seen(R"(ButtonRelease event(.|\n)*button 1,)"));
    EXPECT_TRUE(seen(R"(ButtonPress event(.|\n)*button 3,)"));
    EXPECT_TRUE(seen(R"(ButtonPress event(.|\n)*button 4,(.|\n)*ButtonPress event(.|\n)*button 4,)"));
}

TEST_F(RealPeers, PinMaximisesAndRestoresTheActiveWindow)
{
    const unsigned long front = activeWindow();
    auto state = [front] { return run("xprop -id " + std::to_string(front) + " _NET_WM_STATE"); };
    send("system.pin");
    EXPECT_TRUE(waitUntil([&] {
        const std::string s = state();
        return s.find("_NET_WM_STATE_MAXIMIZED_VERT") != std::string::npos &&
               s.find("_NET_WM_STATE_MAXIMIZED_HORZ") != std::string::npos;
    }, 5000ms)) << state();
    EXPECT_TRUE(logArrives("[system.pinned] tolvanu-target"));
    send("system.pin");
    EXPECT_TRUE(waitUntil([&] { return state().find("MAXIMIZED") == std::string::npos; }, 5000ms)) << state();
}

// Goertzel: the power of one frequency in the samples.
double powerAt(const std::vector<int16_t>& samples, double hz, double rate)
{
    const double k = 2.0 * std::cos(2.0 * M_PI * hz / rate);
    double s1 = 0.0, s2 = 0.0;
    for (int16_t x : samples) {
        const double s0 = double(x) + k * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - k * s1 * s2;
}

std::vector<int16_t> samplesIn(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

TEST_F(RealPeers, BeepIsFiveHundredHertzOnTheSink)
{
    constexpr double rate = 8000;
    constexpr size_t tone = 800;  // 100 ms
    const auto recording = folder.path() / "beep.raw";
    child recorder({"parec", "-d", "tolvanu_test.monitor", "--raw", "--format=s16le", "--rate=8000",
                    "--channels=1", "--latency-msec=20", recording.string()},
                   folder.path() / "parec.log");
    // Recording once the file grows, so the tone cannot come before the recorder listens.
    ASSERT_TRUE(waitUntil([&] { return samplesIn(recording).size() > 400; }, 5000ms)) << recorder.output();
    send("F");
    size_t start = 0;
    ASSERT_TRUE(waitUntil([&] {
        const auto samples = samplesIn(recording);
        const auto loud = std::find_if(samples.begin(), samples.end(), [](int16_t x) { return std::abs(x) > 1000; });
        start = size_t(loud - samples.begin());
        return loud != samples.end() && samples.size() >= start + tone;
    }, 5000ms)) << "no tone on the sink's monitor";
    recorder.stop();
    const auto samples = samplesIn(recording);
    const std::vector<int16_t> heard(samples.begin() + long(start), samples.begin() + long(start + tone));
    const double at500 = powerAt(heard, 500, rate);
    for (double hz : {250.0, 400.0, 600.0, 750.0, 1000.0})
        EXPECT_GT(at500, 20 * powerAt(heard, hz, rate)) << hz << " Hz";
}

TEST_F(RealPeers, WithoutDisplayOrSoundServerNothingBreaksAndBothComeBack)
{
    service.reset();
    pulse.stop();
    setenv("DISPLAY", ":999", 1);
    service = std::make_unique<Tolvanu_system>();
    service->connectSession();
    for (const char* text : {"k 30", "K 30", "M 1 1", "Ml", "ML", "MS 120", "F", "system.pin",
                             "system.set_volume 20", "system.get_state"})
        send(text);
    EXPECT_TRUE(logArrives("[media>127.0.0.2] system.volume -100.0"));
    EXPECT_EQ(logged("[system] no X display: keys, mouse and pin do nothing"), 1u);
    EXPECT_EQ(logged("[system] no sound server: volume and beep do nothing"), 1u);

    pulse = startPulse(folder.path());
    run("pactl set-default-sink tolvanu_test");
    setenv("DISPLAY", (":" + std::to_string(display)).c_str(), 1);
    send("system.set_volume 45");
    send("k 0x1E");
    EXPECT_TRUE(waitUntil([] { return sinkPercent() == 45; }, 5000ms)) << sinkPercent();
    EXPECT_TRUE(seen(R"(KeyPress event(.|\n)*keycode 38 )"));
    EXPECT_TRUE(logArrives("[system] sound server reached"));
    EXPECT_TRUE(logArrives("[system] X display reached"));
}

} // namespace
