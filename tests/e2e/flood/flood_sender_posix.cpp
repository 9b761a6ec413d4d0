// Sends junk to the hub's discovery port and to a session port as fast as it can, and counts
// the hub's answers; or times one search. Run on the client host of the end-to-end tests.
//   flood_sender flood HUB SELF SERVICE DISCOVERY_PORT SESSION_PORT SECONDS SEED
//   flood_sender probe HUB SELF SERVICE DISCOVERY_PORT WAIT_MS
// flood prints one line per second and a summary; probe prints the time to the hub's
// "server" answer, which must still name the hub's own address, and exits 0 when one came
// within WAIT_MS, 1 when none did.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/flood/answerwatch_posix.h"
#include "tests/e2e/flood/junk.h"

namespace {

using clock_type = std::chrono::steady_clock;

constexpr unsigned batchSize = 32;
// However fast the machine, the flood ends: 20 million datagrams a second at most.
constexpr uint64_t sendsPerSecondCap = 20000000;

struct floodPlan {
    uint32_t hub = 0;
    std::string hubText, self, service;
    uint16_t discoveryPort = 0, sessionPort = 0;
    double seconds = 0;
    uint64_t seed = 0;
};

struct tally {
    uint64_t sent = 0, toDiscovery = 0, toSession = 0, failed = 0, answers = 0;
};

bool readPort(const char* text, uint16_t& port)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value == 0 || value > 65535)
        return false;
    port = uint16_t(value);
    return true;
}

sockaddr_in target(uint32_t address, uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(address);
    to.sin_port = htons(port);
    return to;
}

int openSender()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        int size = 4 << 20;
        ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    }
    return fd;
}

// One batch: every other datagram to each port, half of each random bytes.
void makeBatch(flood::junkMaker& junk, std::vector<std::string>& texts, std::vector<bool>& toSession)
{
    for (unsigned i = 0; i < batchSize; ++i) {
        toSession[i] = (i & 1) != 0;
        std::string text = (i & 2) ? junk.randomBytes() : toSession[i] ? junk.sessionLine() : junk.discoveryLine();
        if (!toSession[i] && junk.harmfulForDiscovery(text))
            text = junk.discoveryLine();
        texts[i] = std::move(text);
    }
}

// Sends one batch; a full send buffer is waited out briefly rather than counted as sent.
void sendBatch(int fd, const floodPlan& plan, const std::vector<std::string>& texts,
               const std::vector<bool>& toSession, tally& count)
{
    sockaddr_in discovery = target(plan.hub, plan.discoveryPort);
    sockaddr_in session = target(plan.hub, plan.sessionPort);
    mmsghdr messages[batchSize]{};
    iovec parts[batchSize];
    for (unsigned i = 0; i < batchSize; ++i) {
        parts[i] = {const_cast<char*>(texts[i].data()), texts[i].size()};
        messages[i].msg_hdr.msg_iov = &parts[i];
        messages[i].msg_hdr.msg_iovlen = 1;
        messages[i].msg_hdr.msg_name = toSession[i] ? &session : &discovery;
        messages[i].msg_hdr.msg_namelen = sizeof(sockaddr_in);
    }
    const int done = ::sendmmsg(fd, messages, batchSize, 0);
    if (done < 0) {
        count.failed += batchSize;
        if (errno == EAGAIN || errno == ENOBUFS) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
        return;
    }
    for (int i = 0; i < done; ++i)
        ++(toSession[i] ? count.toSession : count.toDiscovery);
    count.sent += unsigned(done);
    count.failed += batchSize - unsigned(done);
}

double since(clock_type::time_point start)
{
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

int runFlood(const floodPlan& plan)
{
    flood::answerWatch watch(plan.hub, plan.discoveryPort, plan.sessionPort);
    const int fd = openSender();
    if (!watch.ok() || fd < 0) {
        std::perror("flood_sender: socket");
        return 2;
    }
    flood::junkMaker junk(plan.seed, plan.hubText, plan.self, plan.service);
    std::vector<std::string> texts(batchSize);
    std::vector<bool> toSession(batchSize);
    tally count, lastSecond;
    const uint64_t cap = uint64_t(plan.seconds * double(sendsPerSecondCap)) + batchSize;
    const auto start = clock_type::now();
    const auto end = start + std::chrono::duration_cast<clock_type::duration>(std::chrono::duration<double>(plan.seconds));
    auto nextReport = start + std::chrono::seconds(1);
    for (int second = 1; clock_type::now() < end && count.sent + count.failed < cap;) {
        makeBatch(junk, texts, toSession);
        sendBatch(fd, plan, texts, toSession, count);
        count.answers += watch.drain(4 * batchSize);
        if (clock_type::now() >= nextReport) {
            std::printf("second %d: sent %llu, answers %llu\n", second++,
                        (unsigned long long)(count.sent - lastSecond.sent),
                        (unsigned long long)(count.answers - lastSecond.answers));
            std::fflush(stdout);
            lastSecond = count;
            nextReport += std::chrono::seconds(1);
        }
    }
    const double elapsed = since(start);
    ::close(fd);
    // Answers still on their way: at most a fifth of a second more.
    const auto late = clock_type::now() + std::chrono::milliseconds(200);
    while (clock_type::now() < late)
        count.answers += watch.drain(1024);
    std::printf("flood: %.2f s, sent %llu datagrams (%.0f/s; discovery %llu, session %llu), not sent %llu\n",
                elapsed, (unsigned long long)count.sent, double(count.sent) / elapsed,
                (unsigned long long)count.toDiscovery, (unsigned long long)count.toSession,
                (unsigned long long)count.failed);
    std::printf("answers: received %llu (%.0f/s; discovery %llu, session %llu), missed by the counter %llu\n",
                (unsigned long long)count.answers, double(count.answers) / elapsed,
                (unsigned long long)watch.fromA(), (unsigned long long)watch.fromB(),
                (unsigned long long)watch.dropped());
    return count.sent > 0 ? 0 : 1;
}

int runProbe(const floodPlan& plan, long waitMs)
{
    flood::answerWatch watch(plan.hub, plan.discoveryPort, plan.discoveryPort);
    const int fd = openSender();
    if (!watch.ok() || fd < 0) {
        std::perror("flood_sender: socket");
        return 2;
    }
    watch.drain(1u << 20);
    const std::string search = "search;" + plan.service + ";" + plan.self + ";";
    const sockaddr_in to = target(plan.hub, plan.discoveryPort);
    const auto start = clock_type::now();
    const bool sent = ::sendto(fd, search.data(), search.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) >= 0;
    const bool answered = sent && watch.waitFor("server;" + plan.service + ";" + plan.hubText + ";", start + std::chrono::milliseconds(waitMs));
    const double ms = since(start) * 1000;
    ::close(fd);
    if (!answered) {
        std::printf("search: no answer within %ld ms\n", waitMs);
        return 1;
    }
    std::printf("search answered in %.2f ms\n", ms);
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: flood_sender flood HUB SELF SERVICE DISCOVERY_PORT SESSION_PORT SECONDS SEED\n"
                         "       flood_sender probe HUB SELF SERVICE DISCOVERY_PORT WAIT_MS\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 7)
        return usage();
    const std::string mode = argv[1];
    floodPlan plan;
    plan.hubText = argv[2];
    plan.self = argv[3];
    plan.service = argv[4];
    plan.hub = flood::dottedAddress(plan.hubText);
    if (plan.hub == 0 || flood::dottedAddress(plan.self) == 0 || !readPort(argv[5], plan.discoveryPort))
        return usage();
    if (mode == "probe" && argc == 7) {
        const long waitMs = std::strtol(argv[6], nullptr, 10);
        return waitMs > 0 && waitMs <= 60000 ? runProbe(plan, waitMs) : usage();
    }
    if (mode != "flood" || argc != 9 || !readPort(argv[6], plan.sessionPort))
        return usage();
    plan.seconds = std::strtod(argv[7], nullptr);
    plan.seed = std::strtoull(argv[8], nullptr, 10);
    if (!(plan.seconds > 0 && plan.seconds <= 3600))
        return usage();
    return runFlood(plan);
}
