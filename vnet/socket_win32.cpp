#include "vnet/socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace vnet::sock {
namespace {

sockaddr_in makeAddress(uint32_t address, uint32_t port)
{
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(address);
    sa.sin_port = htons(u_short(port));
    return sa;
}

SOCKET sk(handle s) { return SOCKET(s); }

bool setIntOption(handle s, int level, int name, int value)
{
    return setsockopt(sk(s), level, name, reinterpret_cast<const char*>(&value), sizeof value) == 0;
}

} // namespace

bool startup()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void cleanup()
{
    WSACleanup();
}

handle create(int type, int protocol)
{
    int kind = type == typeDatagram ? SOCK_DGRAM : type == typeStream ? SOCK_STREAM : SOCK_RAW;
    SOCKET s = socket(AF_INET, kind, protocol);
    if (s == INVALID_SOCKET)
        return none;
    u_long on = 1;
    if (ioctlsocket(s, FIONBIO, &on) != 0) {
        closesocket(s);
        return none;
    }
    if (kind == SOCK_STREAM)
        setIntOption(handle(s), IPPROTO_TCP, TCP_NODELAY, 1);
    return handle(s);
}

void close(handle s)
{
    if (s != none)
        closesocket(sk(s));
}

void shutdownSend(handle s)
{
    if (s != none)
        shutdown(sk(s), SD_SEND);
}

connectResult connect(handle s, uint32_t address, uint32_t port)
{
    if (s == none || port > 0xFFFF)
        return connectResult::failed;
    sockaddr_in sa = makeAddress(address, port);
    if (::connect(sk(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0)
        return connectResult::done;
    return WSAGetLastError() == WSAEWOULDBLOCK ? connectResult::pending : connectResult::failed;
}

bool bind(handle s, uint32_t address, uint32_t port)
{
    if (s == none || port > 0xFFFF)
        return false;
    sockaddr_in sa = makeAddress(address, port);
    return ::bind(sk(s), reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

bool listen(handle s)
{
    return s != none && ::listen(sk(s), SOMAXCONN) == 0;
}

handle accept(handle s, uint32_t& address, uint32_t& port)
{
    sockaddr_in sa{};
    int len = sizeof sa;
    SOCKET a = ::accept(sk(s), reinterpret_cast<sockaddr*>(&sa), &len);
    if (a == INVALID_SOCKET)
        return none;
    // An accepted socket inherits the listener's event selection; the child's worker
    // selects its own, and it must not block before that.
    WSAEventSelect(a, nullptr, 0);
    u_long on = 1;
    ioctlsocket(a, FIONBIO, &on);
    setIntOption(handle(a), IPPROTO_TCP, TCP_NODELAY, 1);
    address = ntohl(sa.sin_addr.s_addr);
    port = ntohs(sa.sin_port);
    return handle(a);
}

uint32_t localPort(handle s)
{
    sockaddr_in sa{};
    int len = sizeof sa;
    if (s == none || getsockname(sk(s), reinterpret_cast<sockaddr*>(&sa), &len) != 0)
        return 0;
    return ntohs(sa.sin_port);
}

bool waitConnected(handle s, uint32_t ms)
{
    if (s == none)
        return false;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(sk(s), &writable);
    FD_SET(sk(s), &failed);
    timeval limit{long(ms / 1000), long(ms % 1000) * 1000};
    if (select(0, nullptr, &writable, &failed, &limit) != 1)
        return false;
    return FD_ISSET(sk(s), &writable) && takeError(s) == 0;
}

int takeError(handle s)
{
    int error = 0;
    int len = sizeof error;
    if (s == none || getsockopt(sk(s), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &len) != 0)
        return -1;
    return error;
}

int send(handle s, const void* data, int size)
{
    if (s == none || size < 0)
        return -1;
    int n = ::send(sk(s), static_cast<const char*>(data), size, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

int sendTo(handle s, const void* data, int size, uint32_t address, uint32_t port)
{
    if (s == none || size < 0 || port > 0xFFFF)
        return -1;
    sockaddr_in sa = makeAddress(address, port);
    int n = ::sendto(sk(s), static_cast<const char*>(data), size, 0, reinterpret_cast<sockaddr*>(&sa),
                     sizeof sa);
    return n == SOCKET_ERROR ? -1 : n;
}

int receive(handle s, void* buffer, int size)
{
    if (s == none || size < 0)
        return -1;
    int n = ::recv(sk(s), static_cast<char*>(buffer), size, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

// Winsock has no per-receive switch; its acknowledgement delay stays.
void acknowledgeNow(handle) {}

int receiveFrom(handle s, void* buffer, int size, uint32_t& address, uint32_t& port)
{
    if (s == none || size < 0)
        return -1;
    sockaddr_in sa{};
    int len = sizeof sa;
    int n = ::recvfrom(sk(s), static_cast<char*>(buffer), size, 0, reinterpret_cast<sockaddr*>(&sa), &len);
    if (n == SOCKET_ERROR)
        return -1;
    address = ntohl(sa.sin_addr.s_addr);
    port = ntohs(sa.sin_port);
    return n;
}

const uint32_t receiveWaitMs = 0;

int receiveFromWaiting(handle, void*, int, uint32_t&, uint32_t&) { return -1; }

int64_t pending(handle s)
{
    u_long n = 0;
    if (s == none || ioctlsocket(sk(s), FIONREAD, &n) != 0)
        return 0;
    return int64_t(n);
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
    return s != none &&
           setsockopt(sk(s), IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&request),
                      sizeof request) == 0;
}

bool localAddresses(handle s, std::vector<uint32_t>& out)
{
    out.clear();
    alignas(SOCKET_ADDRESS_LIST) char result[1024];
    DWORD size = 0;
    if (s == none ||
        WSAIoctl(sk(s), SIO_ADDRESS_LIST_QUERY, nullptr, 0, result, sizeof result, &size, nullptr, nullptr) != 0)
        return false;
    auto* list = reinterpret_cast<SOCKET_ADDRESS_LIST*>(result);
    for (int i = 0; i < list->iAddressCount; ++i) {
        const SOCKET_ADDRESS& entry = list->Address[i];
        if (!entry.lpSockaddr || entry.lpSockaddr->sa_family != AF_INET)
            continue;
        uint32_t address = ntohl(reinterpret_cast<sockaddr_in*>(entry.lpSockaddr)->sin_addr.s_addr);
        // Wine lists adapters without an address as 0.0.0.0.
        if (address != 0 && (address >> 24) != 127)
            out.push_back(address);
    }
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
