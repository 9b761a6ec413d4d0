// The system service measured from the client host (run by system_latency.sh):
//   system_latency reflect PORT SECONDS           echoes datagrams on PORT for at most SECONDS
//   system_latency measure HUB REFLECT_PORT KEYS VOLUMES
//       "k" to the KeyPress in a window of this program's on the hub host's display, beside a
//       plain datagram round trip to the reflector; "system.set_volume" to the sink's change
//       event from the hub host's PulseAudio (DISPLAY and PULSE_SERVER name both)
//   system_latency idle PID SECONDS LABEL [TARGET [BASELINE]]
//       CPU and wake-ups of process PID over SECONDS; with a baseline (the hub without the
//       plug-in), the plug-in's share is what is judged against the target
#include <arpa/inet.h>
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using clock_type = std::chrono::steady_clock;
constexpr uint16_t servicePort = 26001;

double msSince(clock_type::time_point start)
{
    return std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
}

void printFigures(const char* what, std::vector<double> ms)
{
    if (ms.empty()) {
        std::printf("%-38s no samples\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const double p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    std::printf("%-38s median %7.3f ms  p99 %7.3f ms  (%zu samples)\n", what, median, p99, ms.size());
}

double median(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0.0 : ms[ms.size() / 2];
}

int udpSocket(uint16_t port)
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
        return -1;
    return s;
}

sockaddr_in addressOf(const char* host, uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, host, &a.sin_addr);
    return a;
}

bool sendText(int s, const sockaddr_in& to, const std::string& text)
{
    return sendto(s, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
           ssize_t(text.size());
}

bool readable(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, ms) == 1;
}

int reflect(uint16_t port, int seconds)
{
    const int s = udpSocket(port);
    if (s < 0)
        return 1;
    const auto end = clock_type::now() + std::chrono::seconds(seconds);
    char buffer[2048];
    while (clock_type::now() < end) {
        if (!readable(s, 200))
            continue;
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const ssize_t n = recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (n > 0)
            sendto(s, buffer, size_t(n), 0, reinterpret_cast<sockaddr*>(&from), size);
    }
    return 0;
}

// A window of ours with the focus, on the display the service types into.
class keyWindow {
public:
    bool open()
    {
        display_ = XOpenDisplay(nullptr);
        if (!display_)
            return false;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1024, 768, 0, 0, 0);
        XSelectInput(display_, window_, KeyPressMask | KeyReleaseMask | StructureNotifyMask | FocusChangeMask);
        XStoreName(display_, window_, "system-latency");
        XMapRaised(display_, window_);
        if (!waitFor(MapNotify, 5000))
            return false;
        // The window manager may have focused it already, with its FocusIn gone before the
        // MapNotify: ask the server rather than wait for an event.
        const auto end = clock_type::now() + std::chrono::milliseconds(5000);
        while (clock_type::now() < end) {
            XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
            Window focused = 0;
            int revert = 0;
            XGetInputFocus(display_, &focused, &revert);
            if (focused == window_)
                return true;
            waitFor(FocusIn, 100);
        }
        return false;
    }
    ~keyWindow()
    {
        if (display_)
            XCloseDisplay(display_);
    }
    // The next event of this type, waiting at most ms.
    bool waitFor(int type, int ms)
    {
        const auto end = clock_type::now() + std::chrono::milliseconds(ms);
        XFlush(display_);
        while (clock_type::now() < end) {
            while (XPending(display_)) {
                XEvent e;
                XNextEvent(display_, &e);
                if (e.type == type)
                    return true;
            }
            readable(ConnectionNumber(display_), 20);
        }
        return false;
    }

private:
    Display* display_ = nullptr;
    Window window_ = 0;
};

// The default sink's change events from the hub host's PulseAudio.
class sinkWatch {
public:
    bool open()
    {
        loop_ = pa_threaded_mainloop_new();
        context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "system-latency");
        pa_context_set_state_callback(context_, [](pa_context*, void* me) {
            pa_threaded_mainloop_signal(static_cast<sinkWatch*>(me)->loop_, 0);
        }, this);
        pa_context_set_subscribe_callback(context_, [](pa_context*, pa_subscription_event_type_t, uint32_t, void* me) {
            auto* self = static_cast<sinkWatch*>(me);
            std::lock_guard<std::mutex> hold(self->lock_);
            ++self->changes_;
            self->changed_.notify_all();
        }, this);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        pa_threaded_mainloop_start(loop_);
        pa_threaded_mainloop_lock(loop_);
        pa_context_state_t state;
        while ((state = pa_context_get_state(context_)) != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(state))
            pa_threaded_mainloop_wait(loop_);
        if (state == PA_CONTEXT_READY)
            pa_operation_unref(pa_context_subscribe(context_, PA_SUBSCRIPTION_MASK_SINK, nullptr, nullptr));
        pa_threaded_mainloop_unlock(loop_);
        return state == PA_CONTEXT_READY;
    }
    ~sinkWatch()
    {
        if (!loop_)
            return;
        pa_threaded_mainloop_stop(loop_);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        pa_threaded_mainloop_free(loop_);
    }
    long changes()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return changes_;
    }
    bool waitBeyond(long seen, int ms)
    {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::milliseconds(ms), [&] { return changes_ > seen; });
    }

private:
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    std::mutex lock_;
    std::condition_variable changed_;
    long changes_ = 0;
};

int measure(const char* hub, uint16_t reflectPort, int keys, int volumes)
{
    keyWindow window;
    if (!window.open()) {
        std::fprintf(stderr, "system_latency: no window with the focus on $DISPLAY\n");
        return 1;
    }
    sinkWatch sink;
    if (!sink.open()) {
        std::fprintf(stderr, "system_latency: no PulseAudio at $PULSE_SERVER\n");
        return 1;
    }
    const int s = udpSocket(0);
    const sockaddr_in service = addressOf(hub, servicePort);
    const sockaddr_in reflector = addressOf(hub, reflectPort);
    std::vector<double> keyMs, roundTripMs, volumeMs;
    char buffer[64];
    for (int i = 0; i < keys; ++i) {
        auto start = clock_type::now();
        sendText(s, reflector, "ping");
        if (readable(s, 1000) && recv(s, buffer, sizeof buffer, 0) > 0)
            roundTripMs.push_back(msSince(start));
        start = clock_type::now();
        sendText(s, service, "k 0x1E");
        if (window.waitFor(KeyPress, 2000))
            keyMs.push_back(msSince(start));
        sendText(s, service, "K 0x1E");
        window.waitFor(KeyRelease, 2000);
    }
    for (int i = 0; i < volumes; ++i) {
        const long seen = sink.changes();
        const auto start = clock_type::now();
        sendText(s, service, i % 2 ? "system.set_volume 40" : "system.set_volume 30");
        if (sink.waitBeyond(seen, 2000))
            volumeMs.push_back(msSince(start));
    }
    close(s);
    printFigures("datagram round trip", roundTripMs);
    printFigures("\"k\" to KeyPress in the window", keyMs);
    std::printf("%-38s %7.3f ms (key median - half the round trip)\n", "plug-in, XTest and X share",
                median(keyMs) - median(roundTripMs) / 2);
    printFigures("\"system.set_volume\" to sink change", volumeMs);
    return keyMs.size() == size_t(keys) && volumeMs.size() == size_t(volumes) ? 0 : 1;
}

struct usage {
    double cpuSeconds = 0;
    long switches = 0;
    // Each thread's share, to tell which one wakes: "name/tid" -> cpu seconds, switches.
    std::map<std::string, std::pair<double, long>> threads;
};

// CPU from each thread's schedstat (nanoseconds; clock ticks are too coarse for an idle hub).
usage usageOf(int pid)
{
    usage u;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            const std::string task = tasks + "/" + entry->d_name;
            std::ifstream schedstat(task + "/schedstat");
            unsigned long long ns = 0;
            schedstat >> ns;
            long switches = 0;
            std::ifstream status(task + "/status");
            std::string line, name;
            while (std::getline(status, line)) {
                if (line.rfind("Name:", 0) == 0)
                    name = line.substr(line.find_first_not_of(" \t", 5));
                if (line.rfind("voluntary_ctxt_switches:", 0) == 0 || line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                    switches += std::atol(line.substr(line.find(':') + 1).c_str());
            }
            u.cpuSeconds += double(ns) / 1e9;
            u.switches += switches;
            u.threads[name + "/" + entry->d_name] = {double(ns) / 1e9, switches};
        }
        closedir(dir);
    }
    return u;
}

// A negative target prints none; a negative baseline judges the whole process.
int idle(int pid, int seconds, const char* label, double targetPercent, double baselinePercent)
{
    const usage before = usageOf(pid);
    const auto start = clock_type::now();
    // The hub is left alone for the whole span.
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const usage after = usageOf(pid);
    const double span = msSince(start) / 1000.0;
    const double percent = 100.0 * (after.cpuSeconds - before.cpuSeconds) / span;
    std::printf("idle, %-32s %.5f %% of one core, %.2f wake-ups/s (all threads, %d s)\n", label, percent,
                double(after.switches - before.switches) / span, seconds);
    for (const auto& [thread, now] : after.threads) {
        const auto was = before.threads.find(thread);
        if (was == before.threads.end() || now.second == was->second.second)
            continue;
        std::printf("  thread %-24s %.5f %%, %.2f wake-ups/s\n", thread.c_str(),
                    100.0 * (now.first - was->second.first) / span, double(now.second - was->second.second) / span);
    }
    if (baselinePercent >= 0)
        std::printf("  the plug-in's share (less the hub alone, %.5f %%): %.5f %%\n", baselinePercent,
                    percent - baselinePercent);
    const double judged = baselinePercent >= 0 ? percent - baselinePercent : percent;
    if (targetPercent >= 0)
        std::printf("  target, at most %.3f %% of one core: %s\n", targetPercent,
                    judged <= targetPercent ? "met" : "NOT met");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "reflect" && argc == 4)
        return reflect(uint16_t(std::atoi(argv[2])), std::atoi(argv[3]));
    if (mode == "measure" && argc == 6)
        return measure(argv[2], uint16_t(std::atoi(argv[3])), std::atoi(argv[4]), std::atoi(argv[5]));
    if (mode == "idle" && argc >= 5 && argc <= 7)
        return idle(std::atoi(argv[2]), std::atoi(argv[3]), argv[4], argc >= 6 ? std::atof(argv[5]) : -1.0,
                    argc == 7 ? std::atof(argv[6]) : -1.0);
    std::fprintf(stderr, "usage: system_latency reflect PORT SECONDS | measure HUB REFLECT_PORT KEYS VOLUMES |"
                         " idle PID SECONDS LABEL [TARGET_PERCENT [BASELINE_PERCENT]]\n(run by bench/system/system_latency.sh)\n");
    return 2;
}
