#pragma once
#include <cstdint>
#include <vector>

// Thin IPv4 socket layer over Winsock or BSD sockets. Addresses and ports in host order;
// every call returns at once (receiveFromWaiting aside); failures come back as none, false or
// -1, never as exceptions.
// Stream sockets (made or accepted) send at once, without Nagle's delay: every peer here
// is interactive, one short command answered by a few short lines.
namespace vnet::sock {

using handle = std::intptr_t;
constexpr handle none = -1;

constexpr int typeStream = 1;
constexpr int typeDatagram = 2;
constexpr int protoRaw = 0;
constexpr int protoTcp = 6;
constexpr int protoUdp = 17;

enum class connectResult { done, pending, failed };

// Starts and releases the socket library (reference counted by the system).
bool startup();
void cleanup();

handle create(int type, int protocol);
void close(handle s);
void shutdownSend(handle s);

connectResult connect(handle s, uint32_t address, uint32_t port);
bool bind(handle s, uint32_t address, uint32_t port);
bool listen(handle s);
// Accepts one pending connection; peer address and port go to address and port.
handle accept(handle s, uint32_t& address, uint32_t& port);
// The port the system chose or was given (0 on failure).
uint32_t localPort(handle s);
// Waits up to ms for a pending connect to finish; true when it connected.
bool waitConnected(handle s, uint32_t ms);
// Pending error of the socket (SO_ERROR), cleared by reading it.
int takeError(handle s);

// Bytes moved, or -1 on failure (also when the operation would block).
int send(handle s, const void* data, int size);
int sendTo(handle s, const void* data, int size, uint32_t address, uint32_t port);
int receive(handle s, void* buffer, int size);
int receiveFrom(handle s, void* buffer, int size, uint32_t& address, uint32_t& port);
// How long receiveFromWaiting waits for a datagram: 0 where a receive cannot wait (Winsock's
// event-selected sockets never block), and there it returns -1 at once.
extern const uint32_t receiveWaitMs;
int receiveFromWaiting(handle s, void* buffer, int size, uint32_t& address, uint32_t& port);
// After a stream receive: acknowledge now rather than after the delayed-ACK timer, which
// would hold back a peer that waits for the ACK before sending the rest of its reply
// (Linux TCP_QUICKACK, which the system clears again; nothing where there is none).
void acknowledgeNow(handle s);
// Bytes readable now (for datagrams at least the next one), 0 when the query fails.
int64_t pending(handle s);

bool setBroadcast(handle s, bool on);
bool setMulticastTtl(handle s, int ttl);
bool joinGroup(handle s, uint32_t group);

// IPv4 addresses of this host's interfaces (loopback excluded), as the socket sees them.
bool localAddresses(handle s, std::vector<uint32_t>& out);
// First IPv4 address of a host name; false when the lookup fails.
bool lookupHost(const char* name, uint32_t& address);

} // namespace vnet::sock
