#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "hub/node/c4interface.h"
#include "hub/node/c4link.h"
#include "hub/node/c4service.h"
#include "vcore/str.h"
#include "vcore/strtokens.h"

// The discovery node's decisions without sockets: message texts and quiet periods come in,
// datagrams, log lines, address reports and owner callbacks go out.
// Safe to call from the port's worker and the hub's thread at once; no lock is held while
// the link or the owner is called, so either may call back in.
class C4NodeRules {
public:
    // At most this many local addresses are asked about.
    static constexpr size_t maxLocalAddresses = 256;
    // The port cuts longer datagrams into pieces, which would read as other messages.
    static constexpr int32_t maxMessage = 32768;

    explicit C4NodeRules(C4Link& link);

    // Opening, in two halves around the opening of the port: the owner is set and the own
    // address forgotten; then identity is asked for and every entry announced or searched.
    void attach(C4Interface* owner);
    void start();

    void askIdentity();
    void announce(const vcore::str& service);
    void search(const vcore::str& service);
    // The wanting side's "open" to the server address that "server" named.
    void requestOpen(const vcore::str& service, const vcore::str& serverAddress, const vcore::str& clientName);
    void closeSessions();

    // One message from sender (host order); senderIsLocal: it is one of this host's addresses.
    void receive(const vcore::str& message, uint32_t sender, bool senderIsLocal);
    // A quiet period of the port went by.
    void timeOut();

    vcore::str ownAddress() const;
    int32_t countdown() const;
    std::vector<C4Service> services() const;

private:
    struct incoming {
        const vcore::strtokens& fields;
        uint32_t sender;
        vcore::str senderText;
        vcore::str field(int32_t i) const { return vcore::str(fields.token(i)); }
    };
    using rule = void (C4NodeRules::*)(const incoming&);

    // receiving (c4node_receive.cpp)
    static rule ruleFor(vcore::strview command);
    void onWhois(const incoming& in);
    void onWhoami(const incoming& in);
    void onYouare(const incoming& in);
    void onThankyou(const incoming& in);
    void onSearch(const incoming& in);
    void onServer(const incoming& in);
    void onOpen(const incoming& in);
    void onConnect(const incoming& in);
    void onClose(const incoming& in);
    bool learnOwnAddress(const vcore::str& address, int32_t countdown);

    // the table, each under the lock, handing out copies (c4node_table.cpp)
    int32_t indexOf(const vcore::str& name) const;
    int32_t find(const vcore::str& name) const;
    int32_t findOrAdd(const vcore::str& name, bool offered);
    int32_t count() const;
    C4Service entry(int32_t index) const;
    void setSession(int32_t index, bool open, const vcore::str* peer = nullptr);

    void refreshAll();
    std::vector<uint32_t> localAddresses();
    void send(const vcore::str& message, uint32_t destination);

    C4Link& link_;
    std::atomic<C4Interface*> owner_{nullptr};
    std::atomic<uint32_t> lastSender_{0};  // of any datagram, own ones too, as the port keeps it

    mutable std::mutex lock_;  // guards the three below
    vcore::str own_;
    std::deque<C4Service> services_;  // entries are only ever added
    int32_t countdown_ = -1;
};
