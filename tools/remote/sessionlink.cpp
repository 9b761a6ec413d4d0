#include "tools/remote/sessionlink.h"

#include <string>
#include <utility>

#include "vnet/address.h"

namespace remote {

sessionLink::sessionLink(reportHandler onReport)
    : onReport_(std::move(onReport)),
      port_(nullptr, 80, vnet::netPort::flagClient | vnet::netPort::flagReconnect, vnet::sock::typeStream,
            vnet::sock::protoTcp)
{
    port_.addHandler(u"onData", this, &sessionLink::onPortData);
}

sessionLink::~sessionLink()
{
    port_.close();
}

bool sessionLink::open(const sessionInfo& session)
{
    hub_ = vnet::parseDottedAddress(session.hub.view());
    if (hub_ == 0)
        return false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        closed_ = false;
    }
    return port_.open(0u, true, true, session.port);
}

void sessionLink::close()
{
    port_.close();
}

bool sessionLink::send(const vcore::str& command)
{
    vcore::str bytes(command);
    bytes.toUtf8();
    return port_.sendText(bytes, hub_);
}

bool sessionLink::waitForClose(timePoint deadline)
{
    std::unique_lock<std::mutex> hold(lock_);
    return closeSeen_.wait_until(hold, deadline, [this] { return closed_; });
}

void sessionLink::onPortData(void*)
{
    vcore::str text;
    while (nextDatagram(text)) {
        // Only the hub speaks for the session; anything else on this port is not ours.
        if (text.empty() || port_.lastSender() != hub_)
            continue;
        onReport_(text);
        if (text == u"media.close") {
            {
                std::lock_guard<std::mutex> hold(lock_);
                closed_ = true;
            }
            closeSeen_.notify_all();
        }
    }
}

// One datagram is one report; whatever follows a NUL in it is dropped.
bool sessionLink::nextDatagram(vcore::str& text)
{
    const uint64_t size = port_.available();
    if (size == 0)
        return false;
    text.clear();
    port_.readString(text);
    const uint64_t used = uint64_t(text.length()) + 1;
    if (used < size) {
        std::string sink(size_t(size - used), '\0');
        uint32_t count = 0;
        port_.read(sink.data(), uint32_t(sink.size()), count);
    }
    return true;
}

} // namespace remote
