#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "hub/node/c4interface.h"
#include "vcore/str.h"

namespace remote {

using timePoint = std::chrono::steady_clock::time_point;

// A hub that answered a search.
struct hubEntry {
    vcore::str address;
    vcore::str service;
};

// A session a hub agreed to: commands go to hub at port, reports come back to port.
struct sessionInfo {
    vcore::str service;
    vcore::str hub;
    uint32_t port = 0;
};

enum class outcome { connected, noHub, noConnect, badPort };

// The client's decisions on the protocol's callbacks: collects the hubs that answer, asks the
// first suitable one to open the wanted service, takes the "connect" that answers it.
// Callbacks come on the node's worker; the waits on the client's own thread.
class seeker : public C4Interface {
public:
    using openRequest =
        std::function<void(const vcore::str& service, const vcore::str& hub, const vcore::str& clientName)>;

    explicit seeker(openRequest request);

    // From now on the first hub offering service (the one at onlyHub, when given) is asked to
    // open it once. Forgets an earlier session.
    void seekSession(const vcore::str& service, const vcore::str& clientName, const vcore::str& onlyHub);

    std::vector<hubEntry> hubs() const;
    // The hub that was asked to open; empty while none was.
    vcore::str askedHub() const;
    // Waits until a hub offering service answered (true) or the deadline passed.
    bool waitForHub(const vcore::str& service, timePoint deadline);
    // Waits until a hub was asked (true) or the deadline passed.
    bool waitForAsked(timePoint deadline);
    // Waits until the session is agreed or failed, or the deadline passed.
    outcome waitForSession(timePoint deadline, sessionInfo& session);
    // The hub closed the agreed session.
    bool closedByHub() const;

    void serverFound(const vcore::str& service, const vcore::str& address) override;
    bool openRequested(const vcore::str& service, const vcore::str& clientName, int32_t& port) override;
    bool connectOffered(const vcore::str& service, const vcore::str& address, int32_t port) override;
    void sessionClosed(const vcore::str& service) override;

private:
    enum class phase { idle, seeking, asked, connected, badPort, closed };

    void remember(const vcore::str& service, const vcore::str& address);
    bool knows(const vcore::str& service) const;
    bool suits(const vcore::str& service, const vcore::str& address) const;
    outcome current() const;

    openRequest request_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<hubEntry> hubs_;
    phase phase_ = phase::idle;
    vcore::str wanted_;
    vcore::str clientName_;
    vcore::str onlyHub_;
    vcore::str asked_;
    sessionInfo session_;
};

} // namespace remote
