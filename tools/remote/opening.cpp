#include "tools/remote/opening.h"

#include <chrono>

#include "tools/remote/clientname.h"
#include "vcore/computername.h"
#include "tools/remote/deviceid.h"
#include "tools/remote/output.h"

namespace remote {

namespace {

using std::chrono::milliseconds;

// Echoes the node's log lines (--verbose).
struct logEcho {
    void onLog(void* line) { printMessage(*static_cast<vcore::str*>(line)); }
};
logEcho echo;

status explain(outcome result, const options& o, const vcore::str& service, const vcore::str& hub)
{
    switch (result) {
    case outcome::connected:
        return status::done;
    case outcome::noHub:
        if (o.hub.empty())
            printMessage(vcore::str::formatted(u"no hub answered the search for \"%s\" within %u ms", service.data(), o.timeoutMs));
        else
            printMessage(vcore::str::formatted(u"the hub at %s did not answer the search for \"%s\" within %u ms", o.hub.data(),
                              service.data(), o.timeoutMs));
        return status::noHub;
    case outcome::noConnect:
        printMessage(vcore::str::formatted(u"access refused: the hub at %s did not answer \"open\" for \"%s\" within %u ms",
                          hub.data(), service.data(), o.timeoutMs));
        return status::refused;
    case outcome::badPort:
        printMessage(vcore::str::formatted(u"the hub at %s answered \"open\" for \"%s\" without a usable port", hub.data(),
                          service.data()));
        return status::refused;
    }
    return status::failure;
}

} // namespace

vcore::str ourClientName(const options& o)
{
    bool stored = false;
    const vcore::str device = deviceId(stored);
    if (!stored)
        printMessage(vcore::str(u"cannot keep the device id in the settings; hubs will not know this computer again"));
    return clientName(o.name.empty() ? vcore::computerName() : o.name, device);
}

status startClient(hubClient& client, const options& o, timePoint deadline)
{
    if (o.verbose)
        client.events().addHandler(u"log", &echo, &logEcho::onLog);
    if (!client.start()) {
        printMessage(vcore::str(u"cannot open UDP port 6633 (is a hub or another client running on this computer?)"));
        return status::failure;
    }
    // Without an answer, search all the same: the search itself may still find a hub.
    const timePoint now = std::chrono::steady_clock::now();
    client.waitForIdentity(now + (deadline - now) / 2);
    return status::done;
}

status openSession(hubClient& client, const options& o, const vcore::str& service, sessionInfo& session)
{
    const vcore::str name = ourClientName(o);
    const timePoint deadline = std::chrono::steady_clock::now() + milliseconds(o.timeoutMs);
    if (const status started = startClient(client, o, deadline); started != status::done)
        return started;
    seeker& decisions = client.decisions();
    decisions.seekSession(service, name, o.hub);
    client.search(service);
    if (!decisions.waitForAsked(deadline))
        return explain(outcome::noHub, o, service, vcore::str());
    // The user at the hub may be asked: a full time-out from the request on.
    const outcome result =
        decisions.waitForSession(std::chrono::steady_clock::now() + milliseconds(o.timeoutMs), session);
    return explain(result, o, service, decisions.askedHub());
}

} // namespace remote
