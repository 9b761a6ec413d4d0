#pragma once
#include <cstdint>
#include <functional>

#include "hub/access/devicelist.h"
#include "vcore/semaphore.h"
#include "vcore/str.h"

namespace hub {

// Whether a client may open a service: the security level lets it in, refuses it, or has the
// user asked, remembering accepted devices; a client let in gets the service connected.
class accesscheck {
public:
    // The port a plug-in now serves the service on, or 0.
    using connector = std::function<int32_t(const vcore::str& service)>;
    // Shows the question; true only for a yes.
    using asker = std::function<bool(const vcore::str& question)>;

    static constexpr uint32_t lockWaitMs = 100;

    // lock is held for the whole check; a check that cannot have it refuses the client.
    accesscheck(connector connect, asker ask, devicelist& devices, vcore::semaphore& lock);

    // On true port holds the service's port; on false it is 0 and the client gets no answer.
    bool allow(int32_t level, const vcore::str& service, const vcore::str& clientName, int32_t& port);

private:
    bool userLetsIn(int32_t level, const vcore::str& clientName);

    connector connect_;
    asker ask_;
    devicelist& devices_;
    vcore::semaphore& lock_;
};

} // namespace hub
