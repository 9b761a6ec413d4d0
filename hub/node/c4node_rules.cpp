#include "hub/node/c4node_rules.h"

#include <algorithm>

#include "hub/node/c4destination.h"
#include "hub/node/c4text.h"
#include "vnet/address.h"

C4NodeRules::C4NodeRules(C4Link& link)
    : link_(link)
{
}

void C4NodeRules::attach(C4Interface* owner)
{
    owner_ = owner;
    std::lock_guard<std::mutex> hold(lock_);
    own_.clear();
}

void C4NodeRules::start()
{
    askIdentity();
    refreshAll();
}

// Every entry announced or searched again, in table order.
void C4NodeRules::refreshAll()
{
    for (int32_t i = 0; i < count(); ++i) {
        const C4Service e = entry(i);
        if (e.offered)
            announce(e.name);
        else
            search(e.name);
    }
}

void C4NodeRules::askIdentity()
{
    if (!ownAddress().empty())
        return;
    const std::vector<uint32_t> locals = localAddresses();
    for (size_t i = 0; i < locals.size(); ++i) {
        if (i > 0)
            link_.pause();
        const vcore::str address = vnet::formatAddress(locals[i]);
        send(vcore::str::formatted(u"whoami;%s;", address.data()), vnet::broadcastAddress);
        link_.log(vcore::str::formatted(u"host ip: %s", address.data()));
        link_.reportAddress(address);
    }
}

void C4NodeRules::announce(const vcore::str& service)
{
    findOrAdd(service, true);
    const vcore::str own = ownAddress();
    if (!own.empty()) {
        const vcore::str message = vcore::str::formatted(u"server;%s;%s;", service.data(), own.data());
        send(message, vnet::broadcastAddress);
        link_.pause();
        send(message, lastSender_);
        return;
    }
    for (uint32_t address : localAddresses())
        send(vcore::str::formatted(u"server;%s;%s;", service.data(), vnet::formatAddress(address).data()), lastSender_);
}

void C4NodeRules::search(const vcore::str& service)
{
    setSession(findOrAdd(service, false), false);
    send(vcore::str::formatted(u"search;%s;%s;", service.data(), ownAddress().data()), vnet::broadcastAddress);
}

void C4NodeRules::requestOpen(const vcore::str& service, const vcore::str& serverAddress,
                              const vcore::str& clientName)
{
    const vcore::str message = vcore::str::formatted(u"open;%s;%s;%s;", service.data(), ownAddress().data(), clientName.data());
    send(message, c4Destination(serverAddress.view()));
}

void C4NodeRules::closeSessions()
{
    for (int32_t i = 0; i < count(); ++i) {
        const C4Service e = entry(i);
        if (!e.open)
            continue;
        if (C4Interface* owner = owner_)
            owner->sessionClosed(e.name);
        send(vcore::str::formatted(u"close;%s;", e.name.data()), c4Destination(e.peer.view()));
        setSession(i, false);
    }
}

void C4NodeRules::timeOut()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (countdown_ <= 0 || --countdown_ > 0)
            return;
    }
    refreshAll();
}

std::vector<uint32_t> C4NodeRules::localAddresses()
{
    std::vector<uint32_t> list = link_.localAddresses();
    list.resize(std::min(list.size(), maxLocalAddresses));
    return list;
}

void C4NodeRules::send(const vcore::str& message, uint32_t destination)
{
    if (message.length() > maxMessage)
        return;
    link_.send(message, c4Destination(destination));
}
