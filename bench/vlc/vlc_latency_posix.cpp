// A volume command against Debian's VLC, timed to the answer that shows VLC took it: through the
// hub's session ("media.set_volume" to "media.volume", client and hub on two network namespaces)
// beside the same command written straight to VLC's remote-control port on the hub host
// ("volume N" to VLC's status line), taken by turns in blocks in one run; the same two as a held
// key (commands in quick succession); then the hub's CPU while a client holds a session with VLC
// paused.
// Driven by vlc_latency.sh, which starts the hub, its VLC plug-in and VLC on the hub host and
// this program on the client host:
//   vlc_latency HUB_ADDRESS HUB_NETNS_FILE RC_PORT HUB_PID COUNT IDLE_SECONDS
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/remote/clientname.h"
#include "tools/remote/deviceid.h"
#include "tools/remote/hubclient.h"
#include "vnet/address.h"

namespace {

using clock_type = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int blockSize = 50;
// Between commands, as between a user's key presses: longer than VLC takes to finish a reply
// (see "end of VLC's reply" in the figures), so that no command waits for the one before.
constexpr milliseconds gap{100};
// A held volume key: each command due 30 ms after the answer to the one before.
constexpr milliseconds heldKeyGap{30};
constexpr milliseconds answerLimit{3000};
constexpr uint16_t reflectorPort = 47033;
// VLC's last line in answer to a volume command.
const std::string replyEnd = "volume: returned 0 (no error)";

double millis(clock_type::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

int remainingMs(clock_type::time_point deadline)
{
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - clock_type::now()).count();
    return left > 0 ? int(left) : 0;
}

struct figures {
    double median = 0, p99 = 0;
};

figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.99))]};
}

// Sockets made while this thread is in another network namespace stay in that namespace.
class inNamespace {
public:
    explicit inNamespace(const char* file)
        : own_(open("/proc/self/ns/net", O_RDONLY)), other_(open(file, O_RDONLY))
    {
        entered_ = own_ >= 0 && other_ >= 0 && setns(other_, CLONE_NEWNET) == 0;
    }
    ~inNamespace()
    {
        if (entered_ && setns(own_, CLONE_NEWNET) != 0)
            std::abort();  // every later socket would be made on the wrong host
        if (own_ >= 0)
            close(own_);
        if (other_ >= 0)
            close(other_);
    }
    bool entered() const { return entered_; }

private:
    int own_, other_;
    bool entered_ = false;
};

sockaddr_in addressOf(uint32_t host, uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(host);
    return a;
}

bool waitReadable(int s, clock_type::time_point deadline)
{
    pollfd p{s, POLLIN, 0};
    return poll(&p, 1, remainingMs(deadline)) == 1;
}

// VLC's remote-control interface on the hub host's loopback, read line by line. A plain socket
// with the system's defaults (Nagle, delayed ACK), unlike the plug-in's link: the held key shows
// what the plug-in's prompt acknowledgement saves.
class rcLink {
public:
    ~rcLink()
    {
        if (s_ >= 0)
            close(s_);
    }

    bool connect(const char* hubNetns, uint16_t port)
    {
        {
            inNamespace hubHost(hubNetns);
            if (!hubHost.entered())
                return false;
            s_ = socket(AF_INET, SOCK_STREAM, 0);
        }
        const sockaddr_in to = addressOf(INADDR_LOOPBACK, port);
        return s_ >= 0 && ::connect(s_, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    }

    bool send(const std::string& text) { return ::send(s_, text.data(), text.size(), MSG_NOSIGNAL) == ssize_t(text.size()); }

    // Until a line equal to wanted came (true) or the deadline passed.
    bool awaitLine(const std::string& wanted, clock_type::time_point deadline)
    {
        for (;;) {
            for (size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (line == wanted)
                    return true;
            }
            if (!waitReadable(s_, deadline))
                return false;
            char chunk[4096];
            const ssize_t n = recv(s_, chunk, sizeof chunk, 0);
            if (n <= 0)
                return false;
            buffer_.append(chunk, size_t(n));
        }
    }

private:
    int s_ = -1;
    std::string buffer_;
};

// The client's end of a session: commands to the hub at the session's port, reports to the
// same port number here.
class sessionLink {
public:
    ~sessionLink()
    {
        if (s_ >= 0)
            close(s_);
    }

    bool open(uint32_t hub, uint16_t port)
    {
        hub_ = addressOf(hub, port);
        s_ = socket(AF_INET, SOCK_DGRAM, 0);
        const sockaddr_in here = addressOf(INADDR_ANY, port);
        return s_ >= 0 && bind(s_, reinterpret_cast<const sockaddr*>(&here), sizeof here) == 0;
    }

    bool send(const std::string& text)
    {
        return sendto(s_, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&hub_), sizeof hub_) ==
               ssize_t(text.size());
    }

    // Until a report equal to wanted came (true) or the deadline passed; counts every report.
    bool awaitReport(const std::string& wanted, clock_type::time_point deadline)
    {
        char datagram[2048];
        while (waitReadable(s_, deadline)) {
            const ssize_t n = recv(s_, datagram, sizeof datagram, 0);
            if (n < 0)
                return false;
            ++reports_;
            if (std::string(datagram, size_t(n)) == wanted)
                return true;
        }
        return false;
    }

    // Takes the reports that come until the deadline.
    void drain(clock_type::time_point deadline) { awaitReport(std::string(1, '\0'), deadline); }

    int reports() const { return reports_; }

private:
    int s_ = -1;
    sockaddr_in hub_{};
    int reports_ = 0;
};

// Echoes datagrams on the hub host, to show what the two namespaces alone cost a round trip.
class reflector {
public:
    reflector(const char* hubNetns, uint32_t hubAddress)
    {
        {
            inNamespace hubHost(hubNetns);
            if (hubHost.entered())
                s_ = socket(AF_INET, SOCK_DGRAM, 0);
        }
        const sockaddr_in here = addressOf(hubAddress, reflectorPort);
        if (s_ >= 0 && bind(s_, reinterpret_cast<const sockaddr*>(&here), sizeof here) == 0)
            worker_ = std::thread([this] { run(); });
    }
    ~reflector()
    {
        stop_ = true;
        if (worker_.joinable())
            worker_.join();
        if (s_ >= 0)
            close(s_);
    }
    bool running() const { return worker_.joinable(); }

private:
    void run()
    {
        char buffer[256];
        while (!stop_) {
            if (!waitReadable(s_, clock_type::now() + milliseconds(100)))
                continue;
            sockaddr_in from{};
            socklen_t len = sizeof from;
            const ssize_t n = recvfrom(s_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &len);
            if (n > 0)
                sendto(s_, buffer, size_t(n), 0, reinterpret_cast<sockaddr*>(&from), len);
        }
    }

    int s_ = -1;
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

struct samples {
    std::vector<double> hub, direct, replyEnd, trip, heldKeyHub, heldKeyDirect;
    int failed = 0;
};

// Alternating 25 % and 75 %: VLC's 128 and 384, which its status line and the report give back exactly.
int vlcVolume(int i)
{
    return i % 2 ? 384 : 128;
}

std::string percentText(int vlc)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", vlc * 100.0 / 512.0);
    return text;
}

// Each command is due pause after the answer to the one before, as a key pressed again; it is
// timed from then. As the plug-in does, it goes out only after VLC's whole reply to the one before.
bool directBlock(const char* hubNetns, uint16_t rcPort, int count, milliseconds pause,
                 std::vector<double>& toStatus, std::vector<double>* toReplyEnd, int& failed)
{
    rcLink vlc;
    if (!vlc.connect(hubNetns, rcPort))
        return false;
    // VLC serves one remote-control client at a time: the first answer comes once the plug-in
    // has logged out.
    if (!vlc.send("volume 192\n") || !vlc.awaitLine(replyEnd, clock_type::now() + milliseconds(10000)))
        return false;
    auto due = clock_type::now() + pause;
    for (int i = 0; i < count; ++i) {
        std::this_thread::sleep_until(due);
        const std::string v = std::to_string(vlcVolume(i));
        if (vlc.send("volume " + v + "\n") &&
            vlc.awaitLine("status change: ( audio volume: " + v + " )", due + answerLimit))
            toStatus.push_back(millis(clock_type::now() - due));
        else
            ++failed;
        const auto answered = clock_type::now();
        if (vlc.awaitLine(replyEnd, due + answerLimit) && toReplyEnd)
            toReplyEnd->push_back(millis(clock_type::now() - due));
        due = answered + pause;
    }
    vlc.send("logout\n");
    return true;
}

std::optional<uint16_t> openSession(remote::hubClient& client, const vcore::str& hub, const vcore::str& name)
{
    const vcore::str service(u"media");
    remote::seeker& decisions = client.decisions();
    decisions.seekSession(service, name, hub);
    client.search(service);
    remote::sessionInfo session;
    if (decisions.waitForSession(clock_type::now() + milliseconds(5000), session) != remote::outcome::connected)
        return std::nullopt;
    return uint16_t(session.port);
}

bool closeSession(remote::hubClient& client, const vcore::str& hub, sessionLink& link)
{
    client.sendClose(vcore::str(u"media"), hub);
    return link.awaitReport("media.close", clock_type::now() + milliseconds(3000));
}

// A session whose plug-in knows VLC is playing (it sends volume commands only then).
bool startPlayingSession(remote::hubClient& client, const vcore::str& hub, uint32_t hubAddress,
                         const vcore::str& name, sessionLink& link)
{
    const std::optional<uint16_t> port = openSession(client, hub, name);
    return port && link.open(hubAddress, *port) && link.send("media.get_complete") &&
           link.awaitReport("media.speed 1.0", clock_type::now() + milliseconds(5000));
}

bool hubBlock(remote::hubClient& client, const vcore::str& hub, uint32_t hubAddress, const vcore::str& name,
              int count, milliseconds pause, std::vector<double>& out, int& failed)
{
    sessionLink link;
    if (!startPlayingSession(client, hub, hubAddress, name, link) || !link.send("media.set_volume 37.5") ||
        !link.awaitReport("media.volume 37.50", clock_type::now() + milliseconds(5000)))
        return false;
    for (int i = 0; i < count; ++i) {
        std::this_thread::sleep_for(pause);
        const std::string percent = percentText(vlcVolume(i));
        const auto start = clock_type::now();
        if (link.send("media.set_volume " + percent) && link.awaitReport("media.volume " + percent, start + answerLimit))
            out.push_back(millis(clock_type::now() - start));
        else
            ++failed;
    }
    return closeSession(client, hub, link);
}

void tripBlock(uint32_t hubAddress, int count, samples& out)
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in to = addressOf(hubAddress, reflectorPort);
    char buffer[256];
    for (int i = 0; s >= 0 && i < count; ++i) {
        const std::string payload = "media.set_volume " + percentText(vlcVolume(i));
        const auto start = clock_type::now();
        sendto(s, payload.data(), payload.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        if (waitReadable(s, start + answerLimit) && recv(s, buffer, sizeof buffer, 0) > 0)
            out.trip.push_back(millis(clock_type::now() - start));
        else
            ++out.failed;
    }
    if (s >= 0)
        close(s);
}

// utime + stime of a process, in clock ticks.
std::optional<long long> cpuTicks(int pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t name = text.rfind(')');
    if (name == std::string::npos)
        return std::nullopt;
    std::istringstream fields(text.substr(name + 2));
    std::string field;
    long long utime = 0, stime = 0;
    // From the state (field 3) on: utime is field 14, stime 15.
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::atoll(field.c_str());
        if (i == 15)
            stime = std::atoll(field.c_str());
    }
    return utime + stime;
}

int idle(remote::hubClient& client, const vcore::str& hub, uint32_t hubAddress, const vcore::str& name, int pid,
         int seconds)
{
    sessionLink link;
    if (!startPlayingSession(client, hub, hubAddress, name, link) || !link.send("media.pause") ||
        !link.awaitReport("media.speed 0.0", clock_type::now() + milliseconds(5000))) {
        std::fprintf(stderr, "vlc_latency: no paused session for the idle measurement\n");
        return 1;
    }
    // The reports that follow the pause settle first.
    link.drain(clock_type::now() + milliseconds(2000));
    const int before = link.reports();
    const std::optional<long long> start = cpuTicks(pid);
    const auto began = clock_type::now();
    link.drain(began + std::chrono::seconds(seconds));
    const std::optional<long long> end = cpuTicks(pid);
    const double wall = std::chrono::duration<double>(clock_type::now() - began).count();
    const int reports = link.reports() - before;
    link.send("media.play");
    closeSession(client, hub, link);
    if (!start || !end) {
        std::fprintf(stderr, "vlc_latency: cannot read /proc/%d/stat\n", pid);
        return 1;
    }
    const double cpu = double(*end - *start) / double(sysconf(_SC_CLK_TCK));
    std::printf("idle session, VLC paused, client connected, %.1f s: hub CPU %.3f %% of one core "
                "(%lld ticks of 1/%ld s), %d reports to the client\n",
                wall, 100.0 * cpu / wall, *end - *start, sysconf(_SC_CLK_TCK), reports);
    return 0;
}

int run(const char* hubText, const char* hubNetns, uint16_t rcPort, int hubPid, int count, int idleSeconds)
{
    const vcore::str hub(hubText);
    const uint32_t hubAddress = vnet::parseDottedAddress(hub.view());
    remote::hubClient client;
    if (hubAddress == 0 || !client.start() || !client.waitForIdentity(clock_type::now() + milliseconds(5000))) {
        std::fprintf(stderr, "vlc_latency: no hub at %s answered\n", hubText);
        return 1;
    }
    reflector echo(hubNetns, hubAddress);
    if (!echo.running()) {
        std::fprintf(stderr, "vlc_latency: cannot reach the hub host's network %s\n", hubNetns);
        return 1;
    }
    // The node searches again three quiet seconds after it learned its address: not inside the run.
    std::this_thread::sleep_for(milliseconds(3500));
    const vcore::str name = remote::clientName(u"bench", remote::newDeviceId());
    samples s;
    for (int done = 0; done < count; done += blockSize) {
        const int n = std::min(blockSize, count - done);
        if (!directBlock(hubNetns, rcPort, n, gap, s.direct, &s.replyEnd, s.failed)) {
            std::fprintf(stderr, "vlc_latency: VLC's remote control at 127.0.0.1:%u did not answer\n", rcPort);
            return 1;
        }
        if (!hubBlock(client, hub, hubAddress, name, n, gap, s.hub, s.failed)) {
            std::fprintf(stderr, "vlc_latency: the session through the hub at %s failed\n", hubText);
            return 1;
        }
        tripBlock(hubAddress, n, s);
    }
    if (!directBlock(hubNetns, rcPort, blockSize, heldKeyGap, s.heldKeyDirect, nullptr, s.failed) ||
        !hubBlock(client, hub, hubAddress, name, blockSize, heldKeyGap, s.heldKeyHub, s.failed)) {
        std::fprintf(stderr, "vlc_latency: the commands in quick succession failed\n");
        return 1;
    }
    if (s.hub.empty() || s.direct.empty() || s.replyEnd.empty() || s.trip.empty() || s.heldKeyHub.empty() ||
        s.heldKeyDirect.empty()) {
        std::fprintf(stderr, "vlc_latency: no complete measurement\n");
        return 1;
    }
    const figures h = summarise(s.hub), d = summarise(s.direct), e = summarise(s.replyEnd), t = summarise(s.trip);
    std::printf("volume command to VLC's answer, %d of each by turns in blocks of %d, %lld ms apart, %d failed:\n",
                count, blockSize, static_cast<long long>(gap.count()), s.failed);
    const auto row = [](const char* what, double median, double p99) {
        std::printf("  %-62s median %7.3f ms   p99 %7.3f ms\n", what, median, p99);
    };
    row("through the hub: media.set_volume -> media.volume", h.median, h.p99);
    row("straight to VLC's port: volume -> its status line", d.median, d.p99);
    row("straight to VLC's port: volume -> end of VLC's reply", e.median, e.p99);
    row("datagram round trip between the two hosts, no hub", t.median, t.p99);
    row("added by the hub (through the hub - straight to status line)", h.median - d.median, h.p99 - d.p99);
    std::printf("  target, under 1 ms added at the median: %s\n", h.median - d.median < 1.0 ? "met" : "NOT met");
    const figures kh = summarise(s.heldKeyHub), kd = summarise(s.heldKeyDirect);
    std::printf("as a held key, %d of each, each due %lld ms after the answer before, timed from then:\n",
                blockSize, static_cast<long long>(heldKeyGap.count()));
    row("through the hub: media.set_volume -> media.volume", kh.median, kh.p99);
    row("straight to VLC's port: volume -> its status line", kd.median, kd.p99);
    std::printf("  target, under 2 ms through the hub at the median: %s\n", kh.median < 2.0 ? "met" : "NOT met");
    const int idleStatus = idle(client, hub, hubAddress, name, hubPid, idleSeconds);
    return s.failed == 0 && idleStatus == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 7) {
        std::fprintf(stderr, "usage: vlc_latency HUB_ADDRESS HUB_NETNS_FILE RC_PORT HUB_PID COUNT IDLE_SECONDS\n"
                             "(run by bench/vlc/vlc_latency.sh)\n");
        return 2;
    }
    return run(argv[1], argv[2], uint16_t(std::atoi(argv[3])), std::atoi(argv[4]), std::atoi(argv[5]),
               std::atoi(argv[6]));
}
