#include "vnet/netport.h"

namespace vnet {

bool netPort::bindOrConnect()
{
    attempt result = tryBindOrConnect();
    if (result.announce && threaded()) {
        openedEvent_.set();
        raise(eventKind::open);
    }
    return result.usable;
}

netPort::attempt netPort::tryBindOrConnect()
{
    std::lock_guard<std::mutex> hold(ioLock_);
    sock::handle s = socket_;
    if (s == sock::none)
        return {};
    attempted_ = true;
    lastAttempt_ = std::chrono::steady_clock::now();
    setRemote(nameAddress_, name_, false);
    remotePort_ = portNumber();
    const bool client = flags_ & flagClient;
    if (client && type_ == sock::typeStream) {
        attempt result = connectClient(s);
        if (result.usable)
            return result;
    } else if (client) {
        return bindDatagramClient(s);
    }
    return bindServer(s);
}

netPort::attempt netPort::connectClient(sock::handle s)
{
    sock::connectResult result = sock::connect(s, nameAddress_, portNumber());
    if (result == sock::connectResult::failed) {
        connectFailed_ = true;
        return {};
    }
    if (!threaded()) {
        // Used without a worker: the connect must be finished when open answers.
        connected_ = result == sock::connectResult::done || sock::waitConnected(s, timeOut());
        return {connected_.load(), false};
    }
    // Even a connect that finished at once is reported by the worker ("onOpen").
    connecting_ = true;
    return {true, false};
}

netPort::attempt netPort::bindDatagramClient(sock::handle s)
{
    if (flags_ & flagMulticast) {
        // Any local port: a member of the group on this host may hold the group's port. The
        // port number stays the group's, where writes go.
        if (!sock::bind(s, 0, 0))
            return {};
        boundPort(s);
        sock::setMulticastTtl(s, 2);
        connected_ = true;
        return {true, false};
    }
    if (!sock::bind(s, 0, portNumber()))
        return {};
    remotePort_ = boundPort(s);
    connected_ = true;
    return {true, true};
}

netPort::attempt netPort::bindServer(sock::handle s)
{
    if (connected_ || !(flags_ & (flagServer | flagDatagram)))
        return {};
    if (!sock::bind(s, 0, portNumber()))
        return {};
    remotePort_ = boundPort(s);
    if ((flags_ & flagMulticast) && sock::joinGroup(s, nameAddress_)) {
        sock::setMulticastTtl(s, 2);
        connected_ = true;
        return {true, false};
    }
    if (type_ == sock::typeStream && !sock::listen(s))
        return {};
    connected_ = true;
    return {true, false};
}

// The port number after binding, asking the system when it chose one.
uint32_t netPort::boundPort(sock::handle s)
{
    if (portNumber() == 0)
        setPortNumber(sock::localPort(s));
    return portNumber();
}

} // namespace vnet
