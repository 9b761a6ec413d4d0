#include "tools/remote/hubclient.h"

#include <chrono>
#include <thread>

#include "vnet/address.h"

namespace remote {

namespace {

constexpr auto identityPoll = std::chrono::milliseconds(2);

} // namespace

hubClient::hubClient()
    : seeker_([this](const vcore::str& service, const vcore::str& hub, const vcore::str& clientName) {
          node_.requestOpen(service, hub, clientName);
      })
{
}

bool hubClient::start()
{
    if (!node_.open(&seeker_))
        return false;
    node_.port().sendText(vcore::str(u"whois"), vnet::broadcastAddress);
    return true;
}

bool hubClient::waitForIdentity(timePoint deadline)
{
    while (node_.ownAddress().empty()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(identityPoll);
    }
    return true;
}

void hubClient::search(const vcore::str& service)
{
    node_.search(service);
}

bool hubClient::sendClose(const vcore::str& service, const vcore::str& hub)
{
    vcore::str message(u"close;");
    message.append(service);
    message.append(u';');
    const uint32_t address = vnet::parseDottedAddress(hub.view());
    return address != 0 && node_.port().sendText(message, address);
}

} // namespace remote
