#include "vnet/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vnet::sock {
namespace {

sockaddr_in makeAddress(uint32_t address, uint32_t port)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    sa.sin_port = htons(uint16_t(port));
    return sa;
}

int fd(handle s) { return int(s); }

bool setNonBlocking(int f)
{
    int flags = fcntl(f, F_GETFL, 0);
    return flags >= 0 && fcntl(f, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool setIntOption(handle s, int level, int name, int value)
{
    return setsockopt(fd(s), level, name, &value, sizeof value) == 0;
}

// A datagram socket stays blocking with a short receive time-out, so that a receive may wait
// for the next datagram; every other call passes MSG_DONTWAIT.
constexpr uint32_t datagramWaitMs = 1;

bool setReceiveWait(int f)
{
    timeval limit{0, suseconds_t(datagramWaitMs * 1000)};
    return setsockopt(f, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0;
}

int receiveFromFlags(handle s, void* buffer, int size, int flags, uint32_t& address, uint32_t& port)
{
    if (s == none || size < 0)
        return -1;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    ssize_t n = ::recvfrom(fd(s), buffer, size_t(size), flags, reinterpret_cast<sockaddr*>(&sa), &len);
    if (n < 0)
        return -1;
    address = ntohl(sa.sin_addr.s_addr);
    port = ntohs(sa.sin_port);
    return int(n);
}

} // namespace

const uint32_t receiveWaitMs = datagramWaitMs;

bool startup() { return true; }
void cleanup() {}

handle create(int type, int protocol)
{
    int kind = type == typeDatagram ? SOCK_DGRAM : type == typeStream ? SOCK_STREAM : SOCK_RAW;
    int f = socket(AF_INET, kind | SOCK_CLOEXEC, protocol);
    if (f < 0)
        return none;
    const bool waits = kind == SOCK_DGRAM && setReceiveWait(f);
    if (!waits && !setNonBlocking(f)) {
        ::close(f);
        return none;
    }
    if (kind == SOCK_STREAM)
        setIntOption(f, IPPROTO_TCP, TCP_NODELAY, 1);
    return f;
}

void close(handle s)
{
    if (s != none)
        ::close(fd(s));
}

void shutdownSend(handle s)
{
    if (s != none)
        ::shutdown(fd(s), SHUT_WR);
}

connectResult connect(handle s, uint32_t address, uint32_t port)
{
    if (s == none || port > 0xFFFF)
        return connectResult::failed;
    sockaddr_in sa = makeAddress(address, port);
    if (::connect(fd(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0)
        return connectResult::done;
    return errno == EINPROGRESS || errno == EAGAIN ? connectResult::pending : connectResult::failed;
}

bool bind(handle s, uint32_t address, uint32_t port)
{
    if (s == none || port > 0xFFFF)
        return false;
    // A restarted TCP server must get its port back despite old connections in TIME_WAIT;
    // datagram sockets keep exclusive ports, as on Windows.
    int kind = 0;
    socklen_t len = sizeof kind;
    if (getsockopt(fd(s), SOL_SOCKET, SO_TYPE, &kind, &len) == 0 && kind == SOCK_STREAM)
        setIntOption(s, SOL_SOCKET, SO_REUSEADDR, 1);
    sockaddr_in sa = makeAddress(address, port);
    return ::bind(fd(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

bool listen(handle s)
{
    return s != none && ::listen(fd(s), SOMAXCONN) == 0;
}

handle accept(handle s, uint32_t& address, uint32_t& port)
{
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    int f = ::accept4(fd(s), reinterpret_cast<sockaddr*>(&sa), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (f < 0)
        return none;
    setIntOption(f, IPPROTO_TCP, TCP_NODELAY, 1);
    address = ntohl(sa.sin_addr.s_addr);
    port = ntohs(sa.sin_port);
    return f;
}

uint32_t localPort(handle s)
{
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (s == none || getsockname(fd(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return 0;
    return ntohs(sa.sin_port);
}

bool waitConnected(handle s, uint32_t ms)
{
    pollfd p{fd(s), POLLOUT, 0};
    if (s == none || poll(&p, 1, int(ms)) != 1)
        return false;
    return takeError(s) == 0;
}

int takeError(handle s)
{
    int error = 0;
    socklen_t len = sizeof error;
    if (s == none || getsockopt(fd(s), SOL_SOCKET, SO_ERROR, &error, &len) != 0)
        return -1;
    return error;
}

int send(handle s, const void* data, int size)
{
    if (s == none || size < 0)
        return -1;
    ssize_t n = ::send(fd(s), data, size_t(size), MSG_NOSIGNAL | MSG_DONTWAIT);
    return n < 0 ? -1 : int(n);
}

int sendTo(handle s, const void* data, int size, uint32_t address, uint32_t port)
{
    if (s == none || size < 0 || port > 0xFFFF)
        return -1;
    sockaddr_in sa = makeAddress(address, port);
    ssize_t n = ::sendto(fd(s), data, size_t(size), MSG_NOSIGNAL | MSG_DONTWAIT,
                         reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    return n < 0 ? -1 : int(n);
}

int receive(handle s, void* buffer, int size)
{
    if (s == none || size < 0)
        return -1;
    ssize_t n = ::recv(fd(s), buffer, size_t(size), MSG_DONTWAIT);
    return n < 0 ? -1 : int(n);
}

void acknowledgeNow(handle s)
{
#ifdef TCP_QUICKACK
    if (s != none)
        setIntOption(s, IPPROTO_TCP, TCP_QUICKACK, 1);
#else
    (void)s;
#endif
}

int receiveFrom(handle s, void* buffer, int size, uint32_t& address, uint32_t& port)
{
    return receiveFromFlags(s, buffer, size, MSG_DONTWAIT, address, port);
}

int receiveFromWaiting(handle s, void* buffer, int size, uint32_t& address, uint32_t& port)
{
    return receiveFromFlags(s, buffer, size, 0, address, port);
}

int64_t pending(handle s)
{
    int n = 0;
    if (s == none || ioctl(fd(s), FIONREAD, &n) != 0 || n < 0)
        return 0;
    return n;
}

bool setBroadcast(handle s, bool on)
{
    return s != none && setIntOption(s, SOL_SOCKET, SO_BROADCAST, on ? 1 : 0);
}

bool setMulticastTtl(handle s, int ttl)
{
    return s != none && setIntOption(s, IPPROTO_IP, IP_MULTICAST_TTL, ttl);
}

bool joinGroup(handle s, uint32_t group)
{
    ip_mreq request{};
    request.imr_multiaddr.s_addr = htonl(group);
    request.imr_interface.s_addr = htonl(INADDR_ANY);
    return s != none && setsockopt(fd(s), IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) == 0;
}

bool localAddresses(handle s, std::vector<uint32_t>& out)
{
    out.clear();
    ifaddrs* list = nullptr;
    if (s == none || getifaddrs(&list) != 0)
        return false;
    for (ifaddrs* i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK))
            continue;
        out.push_back(ntohl(reinterpret_cast<sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr));
    }
    freeifaddrs(list);
    return true;
}

bool lookupHost(const char* name, uint32_t& address)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found)
        return false;
    address = ntohl(reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(found);
    return true;
}

} // namespace vnet::sock
