#pragma once
#include "tools/remote/hubclient.h"
#include "tools/remote/options.h"
#include "tools/remote/seeker.h"
#include "tools/remote/status.h"

namespace remote {

// Binds the protocol port and learns this computer's address, waiting at most until
// deadline; says on standard error why it could not.
status startClient(hubClient& client, const options& o, timePoint deadline);

// Starts the client, finds a hub offering service and opens a session there. Anything but
// status::done has been explained on standard error.
status openSession(hubClient& client, const options& o, const vcore::str& service, sessionInfo& session);

// What the hub shows and remembers: the display name and this computer's device id.
vcore::str ourClientName(const options& o);

} // namespace remote
