#pragma once
#include <cstdint>
#include <vector>

#include "hub/node/c4interface.h"
#include "hub/node/c4link.h"
#include "hub/node/c4node_rules.h"
#include "vcore/str.h"
#include "vcore/vobject.h"
#include "vnet/netport.h"

// The discovery node on its UDP port: hands datagrams and quiet periods to the rules and
// carries out what they decide. Raises "log" and "ip" with a vcore::str* argument.
class C4Node : public vcore::vObject, private C4Link {
public:
    static constexpr uint32_t defaultPort = 6633;

    explicit C4Node(uint32_t portNumber = defaultPort);
    ~C4Node() override = default;

    // Binds the port on all local addresses, asks for identity, announces or searches
    // every entry. False when the port cannot be opened.
    bool open(C4Interface* owner);
    void announce(const vcore::str& service);
    void search(const vcore::str& service);
    // Sends "open" for a found service to the address its "server" named.
    void requestOpen(const vcore::str& service, const vcore::str& serverAddress, const vcore::str& clientName);
    void closeSessions();

    vcore::str ownAddress() const { return rules_.ownAddress(); }
    std::vector<C4Service> services() const { return rules_.services(); }
    vnet::netPort& port() { return port_; }

private:
    void onPortData(void* port);
    void onPortTimeOut(void* port);
    bool nextDatagram(vcore::str& message);
    void skip(uint64_t bytes);

    void send(const vcore::str& message, uint32_t destination) override;
    void log(const vcore::str& line) override;
    void reportAddress(const vcore::str& address) override;
    void pause() override;
    std::vector<uint32_t> localAddresses() override;

    uint32_t portNumber_;
    C4NodeRules rules_;
    // Last, so that it goes first: its worker may still be inside the rules until then.
    vnet::netPort port_;
};
