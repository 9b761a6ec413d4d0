#include "tools/remote/run.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "tools/remote/conversation.h"
#include "tools/remote/hubclient.h"
#include "tools/remote/opening.h"
#include "tools/remote/output.h"

namespace remote {

namespace {

using std::chrono::milliseconds;

timePoint after(uint32_t ms)
{
    return std::chrono::steady_clock::now() + milliseconds(ms);
}

status discover(const options& o)
{
    hubClient client;
    const timePoint deadline = after(o.timeoutMs);
    if (const status started = startClient(client, o, deadline); started != status::done)
        return started;
    for (const vcore::str& service : o.classes)
        client.search(service);
    // Every hub gets the whole time to answer.
    std::this_thread::sleep_until(deadline);
    const std::vector<hubEntry> hubs = client.decisions().hubs();
    for (const hubEntry& hub : hubs) {
        vcore::str line(hub.address);
        line.append(u' ');
        line.append(hub.service);
        printLine(line);
    }
    if (!hubs.empty())
        return status::done;
    vcore::str message;
    message.format(u"no hub answered the search within %u ms", o.timeoutMs);
    printMessage(message);
    return status::noHub;
}

status open(const options& o)
{
    hubClient client;
    sessionInfo session;
    if (const status opened = openSession(client, o, o.classes.front(), session); opened != status::done)
        return opened;
    vcore::str line;
    line.format(u"%u", session.port);
    printLine(line);
    return status::done;
}

// The hub to close at: --hub, or the one hub that offers the class.
status closeAt(const options& o)
{
    const vcore::str& service = o.classes.front();
    hubClient client;
    const timePoint deadline = after(o.timeoutMs);
    if (const status started = startClient(client, o, deadline); started != status::done)
        return started;
    vcore::str hub = o.hub;
    if (hub.empty()) {
        client.search(service);
        client.decisions().waitForHub(service, deadline);
        // Others answer a little later, if at all: give them a moment before choosing.
        std::this_thread::sleep_for(milliseconds(200));
        const std::vector<hubEntry> hubs = client.decisions().hubs();
        if (hubs.empty()) {
            printMessage(vcore::str(u"no hub answered the search"));
            return status::noHub;
        }
        if (hubs.size() > 1) {
            printMessage(vcore::str(u"several hubs offer this class: choose one with --hub"));
            return status::usage;
        }
        hub = hubs.front().address;
    }
    return client.sendClose(service, hub) ? status::done : status::failure;
}

} // namespace

status run(const options& o)
{
    switch (o.action) {
    case verb::help:
        std::fputs(usageText(), stdout);
        return status::done;
    case verb::discover:
        return discover(o);
    case verb::open:
        return open(o);
    case verb::close:
        return closeAt(o);
    case verb::send:
        return sendOne(o);
    case verb::session:
        return converse(o);
    }
    return status::usage;
}

} // namespace remote
