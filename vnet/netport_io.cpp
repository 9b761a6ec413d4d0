#include "vnet/netport.h"

#include <algorithm>
#include <cstring>

#include "vcore/strchars.h"
#include "vnet/address.h"

namespace vnet {

uint64_t netPort::available()
{
    std::lock_guard<std::mutex> hold(ioLock_);
    return availableLocked();
}

uint64_t netPort::availableLocked()
{
    sock::handle s = socket_;
    if (s == sock::none)
        return 0;
    if (type_ != sock::typeDatagram)
        return uint64_t(sock::pending(s));
    if (datagramHeld_) {
        // Taking what the worker received counts as the receive that lets notices through.
        if (datagramUnclaimed_) {
            datagramUnclaimed_ = false;
            watch_.received(onWorker());
        }
        uint32_t unread = datagramLength_ - datagramRead_;
        if (unread == 0)
            datagramHeld_ = false;
        return unread;
    }
    // The worker is receiving the next datagram and will announce it.
    if (workerReceiving_)
        return 0;
    uint32_t from = 0, port = 0;
    int got = sock::receiveFrom(s, datagramRoom(), int(datagramLimit), from, port);
    watch_.received(onWorker());
    if (got < 0)
        return 0;
    holdDatagram(from, uint32_t(got));
    return uint32_t(got);
}

// Room for any datagram, kept for the next: no size query per datagram. Under ioLock_.
uint8_t* netPort::datagramRoom()
{
    if (datagram_.size() < datagramLimit)
        datagram_.resize(datagramLimit);
    return datagram_.data();
}

// What a receive put into datagramRoom() is read from there. Under ioLock_.
void netPort::holdDatagram(uint32_t from, uint32_t length)
{
    trackSender(from);
    datagramHeld_ = length > 0;
    datagramLength_ = length;
    datagramRead_ = 0;
}

bool netPort::read(void* buffer, uint32_t size, uint32_t& count)
{
    std::lock_guard<std::mutex> hold(ioLock_);
    return readLocked(buffer, size, count);
}

bool netPort::readLocked(void* buffer, uint32_t size, uint32_t& count)
{
    count = 0;
    if (threaded())
        size = uint32_t(std::min<uint64_t>(size, availableLocked()));
    if (size == 0 || socket_ == sock::none)
        return false;
    if (datagramHeld_ && datagramRead_ < datagramLength_) {
        count = std::min(size, datagramLength_ - datagramRead_);
        std::memcpy(buffer, datagram_.data() + datagramRead_, count);
        datagramRead_ += count;
        return true;
    }
    int got;
    if (type_ == sock::typeDatagram) {
        uint32_t from = 0, port = 0;
        got = sock::receiveFrom(socket_, buffer, int(std::min<uint32_t>(size, 0x7FFFFFFF)), from, port);
        if (got >= 0)
            trackSender(from);
    } else {
        got = sock::receive(socket_, buffer, int(std::min<uint32_t>(size, 0x7FFFFFFF)));
        if (got > 0)
            sock::acknowledgeNow(socket_);
    }
    watch_.received(onWorker());
    if (got < 0)
        return false;
    count = uint32_t(got);
    return true;
}

// Replies go to the last sender that is not this host itself.
void netPort::trackSender(uint32_t address)
{
    bool local = isLocalAddress(*this, address);
    lastSender_ = address;
    lastSenderLocal_ = local;
    if (!local && (remoteTarget_ != address || address == 0))
        setRemote(address, formatAddress(address), true);
}

bool netPort::write(const void* data, uint32_t size, uint32_t& count)
{
    count = 0;
    if (size == 0 && !connected_)
        return false;
    if (type_ == sock::typeDatagram)
        return sendDatagrams(writeTarget(), data, size, count);
    if (flags_ & flagServer)
        return writeChildren(nullptr, data, size, count);
    std::lock_guard<std::mutex> hold(ioLock_);
    int sent = sock::send(socket_, data, int(std::min<uint32_t>(size, 0x7FFFFFFF)));
    if (sent < 0)
        return false;
    count = uint32_t(sent);
    return true;
}

uint32_t netPort::writeTarget() const
{
    if (flags_ & flagServer)
        return broadcastAddress;
    if (uint32_t known = remoteTarget_)
        return known;
    vcore::str text = remoteText();
    return text.empty() ? broadcastAddress : resolveAddress(text);
}

bool netPort::writeTo(uint32_t address, const void* data, uint32_t size, uint32_t& count)
{
    count = 0;
    if (size == 0 && !connected_)
        return false;
    if (type_ == sock::typeDatagram) {
        if (address == 0 || address == loopbackAddress)
            address = broadcastAddress;
        return sendDatagrams(address, data, size, count);
    }
    if (flags_ & flagServer)
        return writeChildren(&address, data, size, count);
    return true;
}

bool netPort::writeTo(const char16_t* address, const void* data, uint32_t size, uint32_t& count)
{
    vcore::strview text(address, vcore::chars::length(address));
    return writeTo(text.empty() ? broadcastAddress : resolveAddress(text), data, size, count);
}

bool netPort::sendText(const vcore::str& text, uint32_t address)
{
    vcore::str copy(text);
    uint32_t count = 0;
    return writeTo(address, copy.narrow(), uint32_t(copy.length()), count);
}

// Chunks of at most datagramChunk bytes to address, at this port's own port number.
bool netPort::sendDatagrams(uint32_t address, const void* data, uint32_t size, uint32_t& count)
{
    std::lock_guard<std::mutex> hold(ioLock_);
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint32_t sent = 0;
    do {
        uint32_t chunk = std::min(size - sent, datagramChunk);
        int n = sock::sendTo(socket_, bytes + sent, int(chunk), address, portNumber());
        if (n < 0)
            return false;
        sent += uint32_t(n);
        if (n == 0)
            break;
    } while (sent < size);
    count = sent;
    return true;
}

// Every child, or those whose remote address text resolves to address.
bool netPort::writeChildren(const uint32_t* address, const void* data, uint32_t size, uint32_t& count)
{
    std::lock_guard<std::mutex> hold(childrenLock_);
    bool result = true;
    for (int32_t i = 0; i < children_.count(); ++i) {
        netPort* child = children_.at(i);
        if (address && resolveAddress(child->remoteText()) != *address)
            continue;
        uint32_t written = 0;
        result = child->write(data, size, written);
        if (result)
            count = written;
    }
    return result;
}

} // namespace vnet
