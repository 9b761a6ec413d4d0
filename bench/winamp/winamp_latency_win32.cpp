// The Winamp component measured from the client host, under Wine (run by winamp_latency.sh):
//   winamp_latency echo PORT SECONDS      sends every datagram on PORT back, for at most SECONDS;
//                                         prints "ready" once it listens
//   winamp_latency measure HOST ECHO_PORT COUNT LISTS
//       "media.set_volume" to its "media.volume" report through the component on HOST, COUNT
//       times, each beside a plain datagram round trip to the echo program on HOST; then the
//       whole list ("media.get_list 1", start to end line) LISTS times.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using clock_type = std::chrono::steady_clock;
constexpr uint16_t componentPort = 6635;

double msSince(clock_type::time_point start)
{
    return std::chrono::duration<double, std::milli>(clock_type::now() - start).count();
}

double percentile(std::vector<double> ms, int p)
{
    if (ms.empty())
        return 0.0;
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, ms.size() * size_t(p) / 100)];
}

void printFigures(const char* what, const std::vector<double>& ms, int lost)
{
    std::printf("%-44s median %8.3f ms  p99 %8.3f ms  (%zu samples, %d lost)\n", what, percentile(ms, 50),
                percentile(ms, 99), ms.size(), lost);
}

SOCKET udpSocket(uint16_t port)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
        return INVALID_SOCKET;
    // A whole list arrives faster than a Wine program may read it.
    int room = 4 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&room), sizeof room);
    return s;
}

sockaddr_in addressOf(const char* host, uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = inet_addr(host);
    return a;
}

bool sendText(SOCKET s, const sockaddr_in& to, const std::string& text)
{
    return sendto(s, text.data(), int(text.size()), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
           int(text.size());
}

// One datagram as text up to its NUL, or false after timeoutMs without one.
bool receive(SOCKET s, std::string& text, int timeoutMs)
{
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(s, &ready);
    timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (select(0, &ready, nullptr, nullptr, &wait) != 1)
        return false;
    char buffer[65536];
    const int n = recv(s, buffer, sizeof buffer, 0);
    if (n < 0)
        return false;
    text.assign(buffer, strnlen(buffer, size_t(n)));
    return true;
}

void drain(SOCKET s)
{
    std::string ignored;
    while (receive(s, ignored, 0)) {
    }
}

// Waits, bounded, for a datagram that begins with prefix.
bool awaitReport(SOCKET s, const char* prefix, int timeoutMs)
{
    const auto end = clock_type::now() + std::chrono::milliseconds(timeoutMs);
    std::string text;
    while (clock_type::now() < end) {
        if (receive(s, text, 50) && text.rfind(prefix, 0) == 0)
            return true;
    }
    return false;
}

int echo(uint16_t port, int seconds)
{
    SOCKET s = udpSocket(port);
    if (s == INVALID_SOCKET)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    const auto end = clock_type::now() + std::chrono::seconds(seconds);
    char buffer[2048];
    while (clock_type::now() < end) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(s, &ready);
        timeval wait{0, 200000};
        if (select(0, &ready, nullptr, nullptr, &wait) != 1)
            continue;
        sockaddr_in from{};
        int size = sizeof from;
        const int n = recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (n > 0)
            sendto(s, buffer, n, 0, reinterpret_cast<sockaddr*>(&from), size);
    }
    return 0;
}

struct listRun {
    double ms = 0;
    int titles = 0;
    bool ended = false;
};

// From the request to the end line; the titles that arrived on the way.
listRun fetchList(SOCKET s, const sockaddr_in& component)
{
    listRun run;
    drain(s);
    const auto start = clock_type::now();
    if (!sendText(s, component, "media.get_list 1"))
        return run;
    std::string text;
    bool started = false;
    const auto end = start + std::chrono::seconds(30);
    while (clock_type::now() < end && receive(s, text, 2000)) {
        if (text == "media.list_start")
            started = true;
        else if (started && text.rfind("media.list_title ", 0) == 0)
            ++run.titles;
        else if (started && text == "media.list_end") {
            run.ended = true;
            break;
        }
    }
    run.ms = msSince(start);
    return run;
}

int measure(const char* host, uint16_t echoPort, int count, int lists)
{
    SOCKET reports = udpSocket(componentPort);
    SOCKET plain = udpSocket(0);
    if (reports == INVALID_SOCKET || plain == INVALID_SOCKET) {
        std::fprintf(stderr, "winamp_latency: cannot open UDP port %u\n", componentPort);
        return 1;
    }
    const sockaddr_in component = addressOf(host, componentPort);
    const sockaddr_in echoer = addressOf(host, echoPort);
    // The component sends its reports to the last client that spoke to it.
    sendText(reports, component, "media.init");
    if (!awaitReport(reports, "media.app ", 5000)) {
        std::fprintf(stderr, "winamp_latency: the component did not answer media.init\n");
        return 1;
    }

    std::vector<double> viaComponent, roundTrip;
    int lostComponent = 0, lostEcho = 0;
    // The first rounds pay for first use (pages, Wine's socket paths): not counted.
    constexpr int warmUp = 10;
    for (int i = -warmUp; i < count; ++i) {
        drain(plain);
        const std::string probe = "probe " + std::to_string(i);
        auto start = clock_type::now();
        std::string text;
        bool echoed = false;
        if (sendText(plain, echoer, probe))
            while (!echoed && receive(plain, text, 2000))
                echoed = text == probe;
        const double echoMs = msSince(start);

        drain(reports);
        start = clock_type::now();
        // Every value differs from the one before, as a client's slider would.
        const std::string command = "media.set_volume " + std::to_string(10 + (i + warmUp) % 80);
        const bool reported = sendText(reports, component, command) && awaitReport(reports, "media.volume ", 2000);
        const double commandMs = msSince(start);
        if (i < 0)
            continue;
        if (echoed)
            roundTrip.push_back(echoMs);
        else
            ++lostEcho;
        if (reported)
            viaComponent.push_back(commandMs);
        else
            ++lostComponent;
    }
    printFigures("datagram round trip to the Wine echo program", roundTrip, lostEcho);
    printFigures("media.set_volume to media.volume", viaComponent, lostComponent);
    const double plainMedian = percentile(roundTrip, 50);
    if (plainMedian > 0)
        std::printf("%-44s %.2f\n", "median ratio, component / plain round trip", percentile(viaComponent, 50) / plainMedian);

    std::vector<double> listMs;
    int fewest = -1, unfinished = 0;
    for (int i = 0; i < lists; ++i) {
        const listRun run = fetchList(reports, component);
        if (!run.ended) {
            ++unfinished;
            continue;
        }
        listMs.push_back(run.ms);
        fewest = fewest < 0 ? run.titles : std::min(fewest, run.titles);
    }
    std::printf("%-44s median %8.3f ms  max %8.3f ms  (%zu lists, fewest titles received %d, %d without end)\n",
                "whole list, media.get_list 1", percentile(listMs, 50), percentile(listMs, 100), listMs.size(),
                fewest, unfinished);
    return lostComponent + lostEcho + unfinished == 0 ? 0 : 3;
}

} // namespace

int main(int argc, char** argv)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "echo" && argc == 4)
        return echo(uint16_t(std::atoi(argv[2])), std::atoi(argv[3]));
    if (mode == "measure" && argc == 6)
        return measure(argv[2], uint16_t(std::atoi(argv[3])), std::atoi(argv[4]), std::atoi(argv[5]));
    std::fprintf(stderr, "usage: winamp_latency echo PORT SECONDS | measure HOST ECHO_PORT COUNT LISTS\n");
    return 2;
}
