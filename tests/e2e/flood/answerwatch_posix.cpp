#include "tests/e2e/flood/answerwatch_posix.h"

#include <arpa/inet.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace flood {

answerWatch::answerWatch(uint32_t hub, uint16_t portA, uint16_t portB)
    : hub_(hub), portA_(portA), portB_(portB)
{
    fd_ = ::socket(AF_PACKET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, htons(ETH_P_IP));
    if (fd_ < 0)
        return;
    // A large buffer, so that a flood of answers is counted rather than lost.
    int size = 32 << 20;
    if (::setsockopt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

answerWatch::~answerWatch()
{
    if (fd_ >= 0)
        ::close(fd_);
}

uint16_t answerWatch::readOne(std::string* payload)
{
    unsigned char packet[65536];
    sockaddr_ll from{};
    socklen_t fromLength = sizeof from;
    for (;;) {
        const ssize_t n = ::recvfrom(fd_, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n < 0)
            return 0;
        if (from.sll_pkttype == PACKET_OUTGOING || size_t(n) < sizeof(iphdr))
            continue;
        iphdr ip;
        std::memcpy(&ip, packet, sizeof ip);
        const size_t headerLength = size_t(ip.ihl) * 4;
        if (ip.protocol != IPPROTO_UDP || ntohl(ip.saddr) != hub_ || size_t(n) < headerLength + sizeof(udphdr))
            continue;
        udphdr udp;
        std::memcpy(&udp, packet + headerLength, sizeof udp);
        const uint16_t source = ntohs(udp.source);
        if (source != portA_ && source != portB_)
            continue;
        if (payload) {
            const size_t start = headerLength + sizeof udp;
            payload->assign(reinterpret_cast<const char*>(packet + start), size_t(n) - start);
        }
        return source;
    }
}

uint64_t answerWatch::drain(uint32_t limit)
{
    uint64_t seen = 0;
    for (uint16_t port; seen < limit && (port = readOne(nullptr)) != 0; ++seen)
        ++(port == portA_ ? fromA_ : fromB_);
    return seen;
}

bool answerWatch::waitFor(const std::string& prefix, std::chrono::steady_clock::time_point deadline)
{
    std::string payload;
    for (;;) {
        while (readOne(&payload) != 0) {
            if (payload.compare(0, prefix.size(), prefix) == 0)
                return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd_, POLLIN, 0};
        ::poll(&p, 1, int(left.count()) + 1);
    }
}

uint64_t answerWatch::dropped()
{
    tpacket_stats stats{};
    socklen_t length = sizeof stats;
    // Each read returns and resets the count since the last one.
    if (fd_ >= 0 && ::getsockopt(fd_, SOL_PACKET, PACKET_STATISTICS, &stats, &length) == 0)
        dropped_ += stats.tp_drops;
    return dropped_;
}

} // namespace flood
