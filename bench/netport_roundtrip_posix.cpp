// Datagram round trips: two netPorts (one echoes) against two plain sockets doing the
// same, side by side in one run. The two sides sit in two private network namespaces
// joined by a veth pair: a port replies at its own port number, so two ports of one
// number cannot share one address. Needs root (or user namespaces) and iproute2.
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <sched.h>
#include <string>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "vnet/netport.h"

namespace {

using clock_type = std::chrono::steady_clock;
constexpr int warmUp = 1000;
constexpr int rounds = 20000;
constexpr int batchSize = 1000;
constexpr uint32_t pingPortNumber = 47011;
constexpr uint16_t plainPort = 47012;
constexpr uint32_t sideA = 0x0A420001;  // 10.66.0.1
const std::string payload(32, 'p');

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

struct figures {
    double median = 0, p99 = 0;
};

struct results {
    figures port, plain;
};

figures summarise(std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[size_t(double(us.size()) * 0.99)]};
}

double micros(clock_type::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

// Echoes every datagram back to its sender (who, being foreign, became the remote address).
class echoPort : public vnet::netPort {
public:
    echoPort() : netPort(nullptr, pingPortNumber, flagDatagram, vnet::sock::typeDatagram, vnet::sock::protoUdp) {}
    ~echoPort() override { close(); }
    bool onData(vcore::ioport*) override
    {
        char buffer[2048];
        uint32_t count = 0, sent = 0;
        while (available() > 0 && read(buffer, sizeof buffer, count))
            write(buffer, count, sent);
        return true;
    }
};

// Sends the next ping as soon as the echo of the last one is in, for one batch at a time.
class pingPort : public vnet::netPort {
public:
    pingPort() : netPort(nullptr, pingPortNumber, flagDatagram, vnet::sock::typeDatagram, vnet::sock::protoUdp) {}
    ~pingPort() override { close(); }
    std::vector<double> times;

    // Runs count round trips on the worker; false when they did not finish in time.
    bool batch(int count)
    {
        left_ = count;
        done_ = std::promise<void>();
        auto finished = done_.get_future();
        ping();
        return finished.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    }
    bool onData(vcore::ioport*) override
    {
        char buffer[2048];
        uint32_t count = 0;
        while (available() > 0 && read(buffer, sizeof buffer, count)) {
        }
        times.push_back(micros(clock_type::now() - sentAt_));
        if (--left_ > 0)
            ping();
        else
            done_.set_value();
        return true;
    }

private:
    void ping()
    {
        uint32_t sent = 0;
        sentAt_ = clock_type::now();
        write(payload.data(), uint32_t(payload.size()), sent);
    }

    clock_type::time_point sentAt_;
    int left_ = 0;
    std::promise<void> done_;
};

int plainSocket()
{
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(plainPort);
    bind(s, reinterpret_cast<sockaddr*>(&any), sizeof any);
    timeval limit{2, 0};
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    return s;
}

void plainEcho(int s, std::atomic<bool>& stop)
{
    char buffer[2048];
    while (!stop) {
        sockaddr_in from{};
        socklen_t len = sizeof from;
        ssize_t n = recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &len);
        if (n >= 0)
            sendto(s, buffer, size_t(n), 0, reinterpret_cast<sockaddr*>(&from), len);
    }
}

void plainPings(int s, int count, std::vector<double>& times)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(plainPort);
    to.sin_addr.s_addr = htonl(sideA);
    char buffer[2048];
    for (int i = 0; i < count; ++i) {
        auto start = clock_type::now();
        sendto(s, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (recv(s, buffer, sizeof buffer, 0) < 0)
            return;
        times.push_back(micros(clock_type::now() - start));
    }
}

// Side B: its own namespace, the veth end moved in by side A.
void sideB(std::promise<pid_t>& tid, std::future<void> moved, std::promise<results>& result)
{
    unshare(CLONE_NEWNET);
    tid.set_value(pid_t(syscall(SYS_gettid)));
    moved.wait();
    run("ip link set lo up && ip addr add 10.66.0.2/24 dev tvbb && ip link set tvbb up");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // Batches of each kind by turns, so that both meet the same load on the machine.
    int plain = plainSocket();
    pingPort pinger;
    pinger.open(u"10.66.0.1");
    std::vector<double> plainTimes;
    bool finished = true;
    for (int i = 0; finished && i < (warmUp + rounds) / batchSize; ++i) {
        plainPings(plain, batchSize, plainTimes);
        finished = pinger.batch(batchSize);
    }
    pinger.close();
    close(plain);
    std::vector<double> portTimes = std::move(pinger.times);

    results out;
    if (finished && plainTimes.size() == size_t(warmUp + rounds) && portTimes.size() == plainTimes.size()) {
        out.port = summarise({portTimes.begin() + warmUp, portTimes.end()});
        out.plain = summarise({plainTimes.begin() + warmUp, plainTimes.end()});
    }
    result.set_value(out);
}

} // namespace

int main()
{
    if (unshare(CLONE_NEWNET) != 0 ||
        !run("ip link set lo up && ip link add tvba type veth peer name tvbb && "
             "ip addr add 10.66.0.1/24 dev tvba && ip link set tvba up")) {
        std::fprintf(stderr, "netport_roundtrip: needs network namespaces (root) and iproute2\n");
        return 1;
    }
    echoPort echo;
    echo.open(u"");
    int plain = plainSocket();
    std::atomic<bool> stop{false};
    std::thread plainEchoer(plainEcho, plain, std::ref(stop));

    std::promise<pid_t> tid;
    std::promise<void> moved;
    std::promise<results> result;
    std::future<results> measured = result.get_future();
    std::thread b(sideB, std::ref(tid), moved.get_future(), std::ref(result));
    run("ip link set tvbb netns " + std::to_string(tid.get_future().get()));
    moved.set_value();
    b.join();
    stop = true;
    plainEchoer.join();
    close(plain);
    const results got = measured.get();
    if (got.port.median == 0 || got.plain.median == 0) {
        std::fprintf(stderr, "netport_roundtrip: round trips did not complete\n");
        return 1;
    }
    std::printf("datagram round trip, %d rounds of %zu bytes over veth between two namespaces\n", rounds,
                payload.size());
    std::printf("  netPort <-> netPort      median %7.1f us   p99 %7.1f us\n", got.port.median, got.port.p99);
    std::printf("  plain socket <-> socket  median %7.1f us   p99 %7.1f us\n", got.plain.median, got.plain.p99);
    std::printf("  ratio (netPort / plain)  median %7.2f      p99 %7.2f   (target: median under 1.3)\n",
                got.port.median / got.plain.median, got.port.p99 / got.plain.p99);
    return 0;
}
