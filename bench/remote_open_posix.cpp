// The reference client's open across two hosts: time from its "search" to the "connect" that
// answers its "open" (own address already known, hub at level 0), beside the plain datagram
// round trip between the same two hosts, taken by turns in one run.
// Driven by remote_open.sh, which puts the hub and "remote_open reflect" on one network
// namespace and "remote_open measure" on the other:
//   remote_open reflect PORT SECONDS          echoes datagrams on PORT for at most SECONDS
//   remote_open measure HUB CLASS PORT COUNT  COUNT opens at HUB, round trips to HUB:PORT
//   remote_open search HUB SELF CLASS PORT COUNT
//                                             COUNT bare "search" datagrams from the discovery
//                                             port to the first "server", round trips to HUB:PORT
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "hub/node/c4node.h"
#include "tools/remote/clientname.h"
#include "tools/remote/deviceid.h"
#include "tools/remote/hubclient.h"
#include "vnet/address.h"

namespace {

using clock_type = std::chrono::steady_clock;
using std::chrono::milliseconds;

const std::string payload(32, 'p');

double millis(clock_type::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

struct figures {
    double median = 0, p99 = 0;
};

figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.99))]};
}

int boundSocket(uint16_t port, int waitMs)
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(port);
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0)
        return -1;
    timeval limit{waitMs / 1000, (waitMs % 1000) * 1000};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    return s;
}

int reflect(uint16_t port, int seconds)
{
    int s = boundSocket(port, 500);
    if (s < 0)
        return 1;
    const auto end = clock_type::now() + std::chrono::seconds(seconds);
    char buffer[2048];
    while (clock_type::now() < end) {
        sockaddr_in from{};
        socklen_t len = sizeof from;
        ssize_t n = recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n >= 0)
            sendto(s, buffer, size_t(n), 0, reinterpret_cast<sockaddr*>(&from), len);
    }
    close(s);
    return 0;
}

// One plain round trip; a negative time when the echo did not come.
double roundTrip(int s, uint32_t hub, uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(hub);
    char buffer[2048];
    const auto start = clock_type::now();
    sendto(s, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    if (recv(s, buffer, sizeof buffer, 0) < 0)
        return -1;
    return millis(clock_type::now() - start);
}

struct openTimes {
    double server = -1;   // search -> first "server"
    double connect = -1;  // search -> "connect"; negative when none came
};

openTimes openOnce(remote::hubClient& client, const vcore::str& service, const vcore::str& hub,
                   const vcore::str& name)
{
    remote::seeker& decisions = client.decisions();
    decisions.seekSession(service, name, hub);
    const auto start = clock_type::now();
    client.search(service);
    openTimes times;
    if (decisions.waitForAsked(start + milliseconds(3000)))
        times.server = millis(clock_type::now() - start);
    remote::sessionInfo session;
    const remote::outcome result = decisions.waitForSession(start + milliseconds(3000), session);
    if (result == remote::outcome::connected)
        times.connect = millis(clock_type::now() - start);
    client.sendClose(service, hub);
    return times;
}

int measure(const char* hubText, const char* serviceText, uint16_t port, int count)
{
    const vcore::str hub(hubText), service(serviceText);
    const uint32_t hubAddress = vnet::parseDottedAddress(hub.view());
    remote::hubClient client;
    int s = boundSocket(0, 2000);
    if (hubAddress == 0 || s < 0 || !client.start() ||
        !client.waitForIdentity(clock_type::now() + milliseconds(5000))) {
        std::fprintf(stderr, "remote_open: no hub at %s answered\n", hubText);
        return 1;
    }
    // The node searches again three quiet seconds after it learned its address: not inside the run.
    std::this_thread::sleep_for(milliseconds(3500));
    const vcore::str name = remote::clientName(u"bench", remote::newDeviceId());
    std::vector<double> servers, opens, trips;
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        const openTimes open = openOnce(client, service, hub, name);
        const double trip = roundTrip(s, hubAddress, port);
        if (open.connect < 0 || trip < 0) {
            ++failed;
        } else {
            servers.push_back(open.server);
            opens.push_back(open.connect);
            trips.push_back(trip);
        }
        // The hub closes the plug-in's session on its protocol thread: let it finish first.
        std::this_thread::sleep_for(milliseconds(50));
    }
    close(s);
    if (opens.empty()) {
        std::fprintf(stderr, "remote_open: no open succeeded\n");
        return 1;
    }
    const figures f = summarise(servers), o = summarise(opens), t = summarise(trips);
    std::printf("client open across two namespaces (hub %s, class %s, level 0): %zu opens, %d failed\n", hubText,
                serviceText, opens.size(), failed);
    std::printf("  search -> connect        median %8.3f ms   p99 %8.3f ms\n", o.median, o.p99);
    std::printf("    of which -> \"server\"   median %8.3f ms   p99 %8.3f ms\n", f.median, f.p99);
    std::printf("  datagram round trip      median %8.3f ms   p99 %8.3f ms\n", t.median, t.p99);
    std::printf("  ratio (open / trip)      median %8.1f      p99 %8.1f\n", o.median / t.median, o.p99 / t.p99);
    return failed == 0 ? 0 : 1;
}

constexpr uint16_t discoveryPort = C4Node::defaultPort;

// A bare "search" to the hub's node: time to the first "server" for the class, or negative.
// The node answers twice (broadcast, then to the sender a millisecond later): the second copy
// is taken too, so that it does not answer the next search.
double searchOnce(int s, uint32_t hub, const std::string& request, const std::string& answer)
{
    char buffer[2048];
    while (recv(s, buffer, sizeof buffer, MSG_DONTWAIT) >= 0) {
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(discoveryPort);
    to.sin_addr.s_addr = htonl(hub);
    const auto start = clock_type::now();
    sendto(s, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    double first = -1;
    for (int copies = 0; copies < 2;) {
        const ssize_t n = recv(s, buffer, sizeof buffer, 0);
        if (n < 0)
            break;
        if (std::string(buffer, size_t(n)).rfind(answer, 0) != 0)
            continue;
        if (++copies == 1)
            first = millis(clock_type::now() - start);
    }
    return first;
}

int searchBare(const char* hubText, const char* selfText, const char* serviceText, uint16_t port, int count)
{
    const uint32_t hubAddress = vnet::parseDottedAddress(vcore::str(hubText).view());
    int node = boundSocket(discoveryPort, 200), echo = boundSocket(0, 2000);
    if (hubAddress == 0 || node < 0 || echo < 0) {
        std::fprintf(stderr, "remote_open: no sockets for the bare search\n");
        return 1;
    }
    const int on = 1;
    setsockopt(node, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    const std::string service(serviceText);
    const std::string request = "search;" + service + ";" + selfText + ";", answer = "server;" + service + ";";
    std::vector<double> servers, trips;
    for (int i = 0; i < count; ++i) {
        const double server = searchOnce(node, hubAddress, request, answer);
        const double trip = roundTrip(echo, hubAddress, port);
        if (server >= 0 && trip >= 0) {
            servers.push_back(server);
            trips.push_back(trip);
        }
    }
    close(node);
    close(echo);
    if (servers.empty()) {
        std::fprintf(stderr, "remote_open: no \"server\" answered a bare search\n");
        return 1;
    }
    const figures f = summarise(servers), t = summarise(trips);
    std::printf("bare \"search\" to the first \"server\" (class %s): %zu of %d answered\n", serviceText,
                servers.size(), count);
    std::printf("  search -> \"server\"       median %8.3f ms   p99 %8.3f ms\n", f.median, f.p99);
    std::printf("  datagram round trip      median %8.3f ms   p99 %8.3f ms\n", t.median, t.p99);
    std::printf("  ratio (server / trip)    median %8.2f      p99 %8.2f   (target: median under 1.25)\n",
                f.median / t.median, f.p99 / t.p99);
    return servers.size() == size_t(count) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "reflect" && argc == 4)
        return reflect(uint16_t(std::atoi(argv[2])), std::atoi(argv[3]));
    if (mode == "measure" && argc == 6)
        return measure(argv[2], argv[3], uint16_t(std::atoi(argv[4])), std::atoi(argv[5]));
    if (mode == "search" && argc == 7)
        return searchBare(argv[2], argv[3], argv[4], uint16_t(std::atoi(argv[5])), std::atoi(argv[6]));
    std::fprintf(stderr, "usage: remote_open reflect PORT SECONDS | measure HUB CLASS PORT COUNT |"
                         " search HUB SELF CLASS PORT COUNT\n"
                         "(run by bench/remote_open.sh)\n");
    return 2;
}
