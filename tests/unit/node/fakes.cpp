#include "fakes.h"

#include "vnet/address.h"

namespace nodetest {

std::string bytes(const vcore::str& text)
{
    vcore::str copy(text);
    return std::string(copy.narrow(), size_t(copy.length()));
}

vcore::str text(const std::string& bytes)
{
    vcore::str t;
    t.assignNarrow(bytes.data(), int32_t(bytes.size()));
    return t;
}

uint32_t ip(const char* dotted)
{
    vcore::str t(dotted);
    return vnet::parseDottedAddress(t.view());
}

void fakeLink::send(const vcore::str& message, uint32_t destination)
{
    const std::string to = destination == vnet::broadcastAddress ? "*" : bytes(vnet::formatAddress(destination));
    out_.push_back("send " + to + " " + bytes(message));
}

void fakeOwner::serverFound(const vcore::str& service, const vcore::str& address)
{
    out_.push_back("serverFound " + bytes(service) + " " + bytes(address));
    if (found)
        found(service, address);
}

bool fakeOwner::openRequested(const vcore::str& service, const vcore::str& clientName, int32_t& port)
{
    out_.push_back("openRequested " + bytes(service) + " " + bytes(clientName));
    port = allow ? this->port : 0;
    return allow;
}

bool fakeOwner::connectOffered(const vcore::str& service, const vcore::str& address, int32_t port)
{
    out_.push_back("connectOffered " + bytes(service) + " " + bytes(address) + " " + std::to_string(port));
    return take;
}

void fakeOwner::sessionClosed(const vcore::str& service)
{
    out_.push_back("sessionClosed " + bytes(service));
}

void NodeRules::knowAs(const char* own)
{
    hear(std::string("youare;") + own + ";", "10.0.0.1");
    ASSERT_EQ(bytes(rules.ownAddress()), own);
    out.clear();
}

trace NodeRules::take()
{
    trace kept;
    for (const std::string& line : out)
        if (line.rfind("log [in:", 0) != 0)
            kept.push_back(line);
    out.clear();
    return kept;
}

trace NodeRules::takeAll()
{
    trace all;
    all.swap(out);
    return all;
}

} // namespace nodetest
