// The node's table and own address, each touched under the lock and handed out as copies,
// so that a callback may add entries while a caller walks the table.
#include "hub/node/c4node_rules.h"

#include "vnet/address.h"

vcore::str C4NodeRules::ownAddress() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return own_;
}

int32_t C4NodeRules::countdown() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return countdown_;
}

std::vector<C4Service> C4NodeRules::services() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return {services_.begin(), services_.end()};
}

// The first entry of that name, or -1; the caller holds the lock.
int32_t C4NodeRules::indexOf(const vcore::str& name) const
{
    for (size_t i = 0; i < services_.size(); ++i)
        if (services_[i].name.equals(name))
            return int32_t(i);
    return -1;
}

int32_t C4NodeRules::find(const vcore::str& name) const
{
    std::lock_guard<std::mutex> hold(lock_);
    return indexOf(name);
}

int32_t C4NodeRules::findOrAdd(const vcore::str& name, bool offered)
{
    std::lock_guard<std::mutex> hold(lock_);
    const int32_t found = indexOf(name);
    if (found >= 0)
        return found;
    services_.push_back(C4Service{name, {}, offered, false});
    return int32_t(services_.size() - 1);
}

int32_t C4NodeRules::count() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return int32_t(services_.size());
}

C4Service C4NodeRules::entry(int32_t index) const
{
    std::lock_guard<std::mutex> hold(lock_);
    return services_[size_t(index)];
}

void C4NodeRules::setSession(int32_t index, bool open, const vcore::str* peer)
{
    std::lock_guard<std::mutex> hold(lock_);
    C4Service& e = services_[size_t(index)];
    e.open = open;
    if (peer)
        e.peer = *peer;
}

bool C4NodeRules::learnOwnAddress(const vcore::str& address, int32_t countdown)
{
    // A text that is no address would be handed on to every client as this host's.
    if (vnet::parseDottedAddress(address.view()) == 0)
        return false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (!own_.empty())
            return false;
        own_ = address;
        countdown_ = countdown;
    }
    vcore::str line(u"I'am ");
    line.append(address);
    link_.log(line);
    return true;
}
