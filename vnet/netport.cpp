#include "vnet/netport.h"

#include "vnet/address.h"
#include "vnet/portname.h"

namespace vnet {
namespace {

constexpr uint32_t closeWaitMs = 200;
constexpr uint32_t unbegunWaitMs = 1000;
constexpr uint32_t workerReadyWaitMs = 5000;
constexpr auto localCacheLife = std::chrono::seconds(1);

} // namespace

netPort::netPort(const char16_t* address, uint32_t port, uint32_t flags, int type, int protocol)
    : vcore::ioport(port), flags_(flags), type_(type), protocol_(protocol)
{
    setName(address);
    socketLibrary_ = sock::startup();
}

netPort::~netPort()
{
    close();
    waitWorkerEnd();
    reapRetired(true);
    if (socketLibrary_)
        sock::cleanup();
}

bool netPort::open(const char16_t* address)
{
    close();
    // A worker still inside a handler must be gone before the port gets a new socket.
    waitWorkerEnd();
    setName(address);
    uint32_t port = portNumber();
    if (takePortSuffix(name_, port))
        setPortNumber(port);
    if (flags_ & (flagMulticast | flagDatagram)) {
        type_ = sock::typeDatagram;
        protocol_ = sock::protoUdp;
    }
    if (!createSocket())
        return false;
    uint32_t address4 = resolveAddress(name_);
    if (flags_ & flagMulticast) {
        address4 = multicastAddress(address4);
        name_ = formatAddress(address4);
    }
    nameAddress_ = address4;
    setStopRequest(false);
    socketEvent_.reset();
    attempted_ = false;
    if (!threaded() || (flags_ & (flagServer | flagDatagram)))
        bindOrConnect();
    if (!threaded())
        return connected_;
    if (workerHeld_)
        return true;
    return launchWorker();
}

bool netPort::startWorker()
{
    // Only the first caller after a held open starts it.
    if (!workerHeld_.exchange(false) || !isOpen())
        return false;
    // The first address query loads system libraries; the worker asks for every sender.
    std::vector<uint32_t> warm;
    localAddresses(warm);
    workerReady_.reset();
    return launchWorker() && vcore::waitAny(workerReady_, finishedEvent(), workerReadyWaitMs) >= 0;
}

bool netPort::launchWorker()
{
    {
        std::lock_guard<std::mutex> hold(ioLock_);
        workerActive_ = true;
    }
    if (start())
        return true;
    std::lock_guard<std::mutex> hold(ioLock_);
    workerActive_ = false;
    return false;
}

bool netPort::open(const char16_t* address, bool datagram, bool server, uint32_t port, bool option40,
                   bool reconnect)
{
    type_ = datagram ? sock::typeDatagram : sock::typeStream;
    protocol_ = datagram ? sock::protoUdp : sock::protoTcp;
    setPortNumber(port);
    uint32_t flags = 0;
    if (datagram) {
        flags = flagDatagram | (server ? flagServer : 0);
    } else {
        flags = server ? flagServer : flagClient;
        flags |= reconnect ? flagReconnect : 0;
        flags |= option40 ? flagOption40 : 0;
    }
    flags_ = flags;
    return open(address);
}

bool netPort::open(uint32_t address, bool datagram, bool server, uint32_t port, bool option40)
{
    vcore::str text = formatAddress(address);
    return open(text.data(), datagram, server, port, option40, true);
}

void netPort::close()
{
    const bool own = onWorker();
    setStopRequest(true);
    socketEvent_.set();
    if (!own && isRunning())
        finishedEvent().wait(closeWaitMs);
    setStopRequest(true);
    socketEvent_.set();
    closeChildren();
    closeSocket();
    releaseDatagram();
    connected_ = false;
    remotePort_ = 0;
    if (!own && threaded() && isRunning())
        finishedEvent().wait(closeWaitMs);
    nameAddress_ = 0;
}

bool netPort::isConnected() const
{
    return isOpen() && (type_ != sock::typeStream || connected_);
}

bool netPort::setBroadcast()
{
    setRemote(broadcastAddress, formatAddress(broadcastAddress), false);
    std::lock_guard<std::mutex> hold(ioLock_);
    return sock::setBroadcast(socket_, true);
}

bool netPort::createSocket()
{
    std::lock_guard<std::mutex> hold(ioLock_);
    // A worker must not bring back a socket that close() has just taken away.
    if (onWorker() && stopRequest())
        return false;
    if (socket_ != sock::none) {
        sock::close(socket_);
        socket_ = sock::none;
    }
    if (!(flags_ & (flagClient | flagServer)))
        flags_ |= flagClient;
    // Raw sockets (protocol 0) have no user here and are not offered.
    if (protocol_ == sock::protoRaw)
        return false;
    sock::handle s = sock::create(type_, protocol_);
    if (s == sock::none)
        return false;
    if ((flags_ & flagServer) || type_ == sock::typeDatagram)
        sock::setBroadcast(s, true);
    socket_ = s;
    connected_ = false;
    connecting_ = false;
    connectFailed_ = false;
    peerClosed_ = false;
    return true;
}

// Shuts the socket down, tells the named "onClose" handlers, then closes it; a running
// worker closes it itself once it no longer waits on it.
void netPort::closeSocket()
{
    sock::handle s;
    {
        std::lock_guard<std::mutex> hold(ioLock_);
        s = socket_;
        if (s == sock::none)
            return;
        sock::shutdownSend(s);
    }
    emitEvent(u"onClose", this);
    std::lock_guard<std::mutex> hold(ioLock_);
    if (socket_ != s)
        return;
    socket_ = sock::none;
    if (workerActive_)
        orphan_ = s;
    else
        sock::close(s);
}

void netPort::releaseDatagram()
{
    std::lock_guard<std::mutex> hold(ioLock_);
    datagramHeld_ = false;
    datagramUnclaimed_ = false;
    datagramLength_ = 0;
    datagramRead_ = 0;
}

bool netPort::onWorker() const
{
    return workerId_.load() == std::this_thread::get_id();
}

// A worker that has not begun may be kept from beginning by a lock the caller holds (a
// library's unload holds the loader's): past a bounded wait it is called off instead.
void netPort::waitWorkerEnd()
{
    if (onWorker() || !isRunning())
        return;
    if (finishedEvent().wait(unbegunWaitMs) || callOffUnbegun())
        return;
    finishedEvent().wait(vcore::infinite);
}

// The remote text of a sender or child is its dotted address, so writes need not parse it.
void netPort::setRemote(uint32_t address, const vcore::str& text, bool textIsAddress)
{
    remoteTarget_ = 0;
    remoteAddress_ = address;
    setRemoteText(text);
    if (textIsAddress && address != 0 && address != broadcastAddress)
        remoteTarget_ = address;
}

bool netPort::localAddresses(std::vector<uint32_t>& out) const
{
    std::lock_guard<std::mutex> hold(localCacheLock_);
    if (!refreshLocalCache())
        return false;
    out = localCache_;
    return true;
}

bool netPort::hasLocalAddress(uint32_t address) const
{
    std::lock_guard<std::mutex> hold(localCacheLock_);
    if (!refreshLocalCache())
        return false;
    for (uint32_t local : localCache_)
        if (local == address)
            return true;
    return false;
}

// Senders are checked against the list per datagram: it is asked for at most once a second.
bool netPort::refreshLocalCache() const
{
    sock::handle s = socket_.load();
    if (s == sock::none)
        return false;
    auto now = std::chrono::steady_clock::now();
    if (s == localCacheSocket_ && now - localCacheTime_ < localCacheLife)
        return true;
    std::vector<uint32_t> fresh;
    if (!sock::localAddresses(s, fresh)) {
        // A query that failed for a moment must not make this host's own datagrams look
        // foreign: the last list of the same socket stands until a query succeeds.
        return s == localCacheSocket_;
    }
    localCache_ = std::move(fresh);
    localCacheSocket_ = s;
    localCacheTime_ = now;
    return true;
}

} // namespace vnet
