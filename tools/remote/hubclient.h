#pragma once
#include "hub/node/c4node.h"
#include "tools/remote/seeker.h"
#include "vcore/str.h"

namespace remote {

// The client's part in the discovery protocol: a wanting node on port 6633, its callbacks
// answered by a seeker.
class hubClient {
public:
    hubClient();

    // Binds port 6633 and makes every node that does not know its own address ask for it,
    // so that it can answer. False when the port cannot be had.
    bool start();
    // Until a peer told the node its own address, which "search" and "open" carry.
    bool waitForIdentity(timePoint deadline);
    // Broadcasts "search" for service; the answers reach the seeker.
    void search(const vcore::str& service);
    // "close" for service, straight to hub: after a few quiet seconds the node searches again,
    // which clears its own note of the session, so it cannot be asked to close it.
    bool sendClose(const vcore::str& service, const vcore::str& hub);

    seeker& decisions() { return seeker_; }
    vcore::str ownAddress() const { return node_.ownAddress(); }
    // The node's "log" lines, raised on its worker with a vcore::str* argument.
    vcore::vObject& events() { return node_; }

private:
    seeker seeker_;
    // Last, so that it goes first: its worker calls the seeker.
    C4Node node_;
};

} // namespace remote
