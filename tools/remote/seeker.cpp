#include "tools/remote/seeker.h"

#include <algorithm>
#include <utility>

#include "vnet/address.h"

namespace remote {

seeker::seeker(openRequest request)
    : request_(std::move(request))
{
}

void seeker::seekSession(const vcore::str& service, const vcore::str& clientName, const vcore::str& onlyHub)
{
    std::lock_guard<std::mutex> hold(lock_);
    phase_ = phase::seeking;
    wanted_ = service;
    clientName_ = clientName;
    onlyHub_ = onlyHub;
    asked_.clear();
    session_ = sessionInfo{};
}

std::vector<hubEntry> seeker::hubs() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return hubs_;
}

vcore::str seeker::askedHub() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return asked_;
}

bool seeker::waitForHub(const vcore::str& service, timePoint deadline)
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_until(hold, deadline, [&] { return knows(service); });
}

bool seeker::waitForAsked(timePoint deadline)
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_until(hold, deadline, [this] { return phase_ != phase::seeking; });
}

outcome seeker::waitForSession(timePoint deadline, sessionInfo& session)
{
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait_until(hold, deadline, [this] { return phase_ != phase::seeking && phase_ != phase::asked; });
    session = session_;
    return current();
}

outcome seeker::current() const
{
    switch (phase_) {
    case phase::idle:
    case phase::seeking:
        return outcome::noHub;
    case phase::asked:
        return outcome::noConnect;
    case phase::badPort:
        return outcome::badPort;
    case phase::connected:
    case phase::closed:
        break;
    }
    return outcome::connected;
}

bool seeker::closedByHub() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return phase_ == phase::closed;
}

void seeker::serverFound(const vcore::str& service, const vcore::str& address)
{
    vcore::str name;
    {
        std::lock_guard<std::mutex> hold(lock_);
        remember(service, address);
        // A hub answers each search twice (broadcast and to us): only the first gets "open".
        if (!suits(service, address)) {
            changed_.notify_all();
            return;
        }
        phase_ = phase::asked;
        asked_ = address;
        name = clientName_;
    }
    changed_.notify_all();
    request_(service, address, name);
}

// A client offers nothing.
bool seeker::openRequested(const vcore::str&, const vcore::str&, int32_t& port)
{
    port = 0;
    return false;
}

bool seeker::connectOffered(const vcore::str& service, const vcore::str& address, int32_t port)
{
    const bool usable = port > 0 && port <= 0xFFFF;
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (phase_ != phase::asked || !(service == wanted_))
            return false;
        if (!usable) {
            phase_ = phase::badPort;
        } else {
            phase_ = phase::connected;
            // The hub's own address when it gave a usable one, else where "open" went.
            const bool dotted = vnet::parseDottedAddress(address.view()) != 0;
            session_ = sessionInfo{service, dotted ? address : asked_, uint32_t(port)};
        }
    }
    changed_.notify_all();
    return usable;
}

void seeker::sessionClosed(const vcore::str& service)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (phase_ != phase::connected || !(service == wanted_))
            return;
        phase_ = phase::closed;
    }
    changed_.notify_all();
}

void seeker::remember(const vcore::str& service, const vcore::str& address)
{
    if (address.empty())
        return;
    const bool known = std::any_of(hubs_.begin(), hubs_.end(), [&](const hubEntry& h) {
        return h.address == address && h.service == service;
    });
    if (!known)
        hubs_.push_back(hubEntry{address, service});
}

bool seeker::knows(const vcore::str& service) const
{
    return std::any_of(hubs_.begin(), hubs_.end(), [&](const hubEntry& h) { return h.service == service; });
}

bool seeker::suits(const vcore::str& service, const vcore::str& address) const
{
    return phase_ == phase::seeking && service == wanted_ && !address.empty() &&
           (onlyHub_.empty() || address == onlyHub_);
}

} // namespace remote
