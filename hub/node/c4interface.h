#pragma once
#include <cstdint>

#include "vcore/str.h"

// What the discovery node asks of its owner: every decision that is not protocol.
// The four operations keep this slot order; callbacks come on the node's worker thread
// (sessionClosed also on the thread that closes the sessions) and hold no lock of the node.
class C4Interface {
public:
    // A wanted service answered "server" from address.
    virtual void serverFound(const vcore::str& service, const vcore::str& address) = 0;
    // A client asks to open an offered service; on true, port is the one to hand out.
    virtual bool openRequested(const vcore::str& service, const vcore::str& clientName, int32_t& port) = 0;
    // The server agreed a session for a wanted service; true: the owner took it.
    virtual bool connectOffered(const vcore::str& service, const vcore::str& address, int32_t port) = 0;
    // The session of an entry ends.
    virtual void sessionClosed(const vcore::str& service) = 0;

protected:
    ~C4Interface() = default;
};
