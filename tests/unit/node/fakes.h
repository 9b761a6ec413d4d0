#pragma once
// Stand-ins around the node's rules: a link and an owner that write what happens, in order,
// into one trace of lines such as "send * whoami;10.0.0.2;" (* is broadcast).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hub/node/c4interface.h"
#include "hub/node/c4link.h"
#include "hub/node/c4node_rules.h"

namespace nodetest {

using trace = std::vector<std::string>;

std::string bytes(const vcore::str& text);  // one byte per unit
vcore::str text(const std::string& bytes);  // each byte widened
uint32_t ip(const char* dotted);

class fakeLink : public C4Link {
public:
    explicit fakeLink(trace& out) : out_(out) {}
    std::vector<uint32_t> locals;

    void send(const vcore::str& message, uint32_t destination) override;
    void log(const vcore::str& line) override { out_.push_back("log " + bytes(line)); }
    void reportAddress(const vcore::str& address) override { out_.push_back("ip " + bytes(address)); }
    void pause() override { out_.push_back("pause"); }
    std::vector<uint32_t> localAddresses() override { return locals; }

private:
    trace& out_;
};

class fakeOwner : public C4Interface {
public:
    explicit fakeOwner(trace& out) : out_(out) {}
    bool allow = true;      // answer to openRequested
    int32_t port = 51000;   // port handed out when allowed
    bool take = true;       // answer to connectOffered
    std::function<void(const vcore::str&, const vcore::str&)> found;

    void serverFound(const vcore::str& service, const vcore::str& address) override;
    bool openRequested(const vcore::str& service, const vcore::str& clientName, int32_t& port) override;
    bool connectOffered(const vcore::str& service, const vcore::str& address, int32_t port) override;
    void sessionClosed(const vcore::str& service) override;

private:
    trace& out_;
};

// The rules with both stand-ins, the owner attached.
class NodeRules : public ::testing::Test {
protected:
    NodeRules() { rules.attach(&owner); }

    void hear(const std::string& message, const char* from = "10.0.0.9", bool local = false)
    {
        rules.receive(text(message), ip(from), local);
    }
    // The own address learnt through "youare" from 10.0.0.1, its traces dropped.
    void knowAs(const char* own);
    // What happened since the last take, without the "[in:...]" lines of received messages.
    trace take();
    // Everything, those lines included.
    trace takeAll();

    trace out;
    fakeLink link{out};
    fakeOwner owner{out};
    C4NodeRules rules{link};
};

} // namespace nodetest
