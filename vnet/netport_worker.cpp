#include "vnet/netport.h"

#include "vnet/address.h"

namespace vnet {
namespace {

constexpr uint32_t connectErrorPauseMs = 100;

const char16_t* eventName(int kind)
{
    static const char16_t* const names[] = {u"onOpen", u"onClose", u"onData", u"onTimeOut"};
    return names[kind];
}

} // namespace

void netPort::run()
{
    workerId_ = std::this_thread::get_id();
    prepareWorker();
    workerReady_.set();
    for (;;) {
        sock::handle s = socket_.load();
        if (stopRequest() || s == sock::none)
            break;
        watch_.attach(s);
        serve(s);
        if (stopRequest() || !(flags_ & flagReconnect) || !createSocket())
            break;
    }
    leaveWorker();
}

// The inner loop: one socket, until it is gone or a stop is requested.
void netPort::serve(sock::handle s)
{
    while (!stopRequest() && socket_.load() == s) {
        if (!connected_ && !connecting_ && attemptDue()) {
            // Winsock may refuse a second connect on a socket whose connect failed.
            if (connectFailed_ && !renewSocket(s))
                return;
            bindOrConnect();
        }
        if (receiveSoon(s)) {
            lastWaitTimedOut_ = false;
            dataArrived(true);
            lingering_ = true;
            continue;
        }
        netEvents events;
        const auto waitStart = std::chrono::steady_clock::now();
        socketwatch::outcome outcome = watch_.wait(interests(), timeOut(), events);
        lastWaitTimedOut_ = outcome == socketwatch::outcome::timeOut;
        lingering_ = events.read && quickSuccession(waitStart);
        if (stopRequest())
            return;
        reapRetired(false);
        if (outcome == socketwatch::outcome::timeOut)
            raise(eventKind::timeOut);
        else if (outcome == socketwatch::outcome::events)
            handle(events);
    }
}

bool netPort::renewSocket(sock::handle& s)
{
    if (!createSocket())
        return false;
    s = socket_.load();
    watch_.attach(s);
    return true;
}

// Retries are paced: at most one bind or connect per time-out, also after quick failures.
bool netPort::attemptDue() const
{
    if (!attempted_ || lastWaitTimedOut_)
        return true;
    return std::chrono::steady_clock::now() - lastAttempt_ >= std::chrono::milliseconds(timeOut());
}

unsigned netPort::interests() const
{
    if (type_ == sock::typeDatagram)
        return socketwatch::wantRead;
    if (flags_ & flagServer)
        return connected_ ? unsigned(socketwatch::wantAccept) : 0u;
    if (connecting_)
        return socketwatch::wantConnect;
    if (connected_ && !peerClosed_)
        return socketwatch::wantRead | socketwatch::wantClose;
    return 0;
}

void netPort::handle(const netEvents& events)
{
    if (events.connect)
        connectFinished(events.connectError);
    // A close already delivered what was left to read.
    if (events.close && !stopRequest())
        peerClosed();
    else if (events.read && !stopRequest())
        dataArrived(false);
    if (events.accept && !stopRequest())
        accepted();
}

void netPort::connectFinished(int error)
{
    connecting_ = false;
    if (error != 0) {
        connectFailed_ = true;
        socketEvent_.wait(connectErrorPauseMs);
        return;
    }
    connected_ = true;
    openedEvent_.set();
    raise(eventKind::open);
}

void netPort::peerClosed()
{
    peerClosed_ = true;
    if (type_ == sock::typeStream && available() > 0)
        raise(eventKind::data);
    closedEvent_.set();
    raise(eventKind::close);
    if (!(flags_ & flagKeepSocket)) {
        std::lock_guard<std::mutex> hold(ioLock_);
        sock::close(socket_);
        socket_ = sock::none;
        connected_ = false;
    }
    leaveParent();
}

// received: the worker has the datagram in hand already (receiveSoon).
void netPort::dataArrived(bool received)
{
    if (type_ == sock::typeDatagram && !received)
        releaseDatagram();
    dataEvent_.set();
    raise(eventKind::data);
}

// A datagram that came within the time the receive itself would have waited starts a run:
// after a lone one, waiting in the receive would only add a wake-up.
bool netPort::quickSuccession(std::chrono::steady_clock::time_point waitStart) const
{
    return type_ == sock::typeDatagram && sock::receiveWaitMs > 0 &&
           std::chrono::steady_clock::now() - waitStart < std::chrono::milliseconds(sock::receiveWaitMs);
}

// In a run of datagrams the next one often follows within moments (a reply, a burst): the
// worker waits for it in the receive itself, which spares the poll before each datagram. Only
// while the last one has been taken, so that notices come as they would from a poll.
bool netPort::receiveSoon(sock::handle s)
{
    if (!lingering_)
        return false;
    lingering_ = false;
    if (timeOut() <= sock::receiveWaitMs || !watch_.readArmed())
        return false;
    uint8_t* room;
    {
        std::lock_guard<std::mutex> hold(ioLock_);
        if (datagramHeld_ || socket_ != s || stopRequest())
            return false;
        room = datagramRoom();
        workerReceiving_ = true;
    }
    uint32_t from = 0, port = 0;
    int got = sock::receiveFromWaiting(s, room, int(datagramLimit), from, port);
    std::lock_guard<std::mutex> hold(ioLock_);
    workerReceiving_ = false;
    // A close meanwhile drops it, as it drops what the socket still held.
    if (got < 0 || socket_ != s || stopRequest())
        return false;
    holdDatagram(from, uint32_t(got));
    datagramUnclaimed_ = got > 0;
    if (got > 0)
        watch_.noticed();
    return true;
}

void netPort::accepted()
{
    uint32_t address = 0, port = 0;
    sock::handle s;
    {
        std::lock_guard<std::mutex> hold(ioLock_);
        s = sock::accept(socket_, address, port);
    }
    if (s == sock::none)
        return;
    auto* child = new netPort(name_.data(), portNumber(), flags_, type_, protocol_);
    child->adopt(s, address, port, this);
    if (!addChild(child)) {
        delete child;
        return;
    }
    // The owner meets the connection before its first "onData".
    if (!onOpen(child))
        emitEvent(u"onOpen", child);
    bool started = false;
    {
        std::lock_guard<std::mutex> hold(child->ioLock_);
        child->workerActive_ = child->socket_ != sock::none;
    }
    if (child->isOpen())
        started = child->start();
    if (!started) {
        std::lock_guard<std::mutex> hold(child->ioLock_);
        child->workerActive_ = false;
    }
}

void netPort::leaveWorker()
{
    std::lock_guard<std::mutex> hold(ioLock_);
    if (orphan_ != sock::none)
        sock::close(orphan_);
    orphan_ = sock::none;
    workerActive_ = false;
    // Thread identities are reused; a later thread must not pass for this worker.
    workerId_ = std::thread::id();
}

// The port's own handler, then its server's (data and close of accepted children), then
// the named handlers.
void netPort::raise(eventKind kind)
{
    if (virtualHandler(kind, this))
        return;
    if (kind == eventKind::data || kind == eventKind::close) {
        std::lock_guard<std::recursive_mutex> hold(parentLock_);
        if (parent_ && parent_->virtualHandler(kind, this))
            return;
    }
    emitEvent(eventName(int(kind)), this);
}

bool netPort::virtualHandler(eventKind kind, netPort* port)
{
    switch (kind) {
    case eventKind::open: return onOpen(port);
    case eventKind::close: return onClose(port);
    case eventKind::data: return onData(port);
    case eventKind::timeOut: return onTimeOut(port);
    }
    return false;
}

} // namespace vnet
