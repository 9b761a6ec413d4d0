#include "hub/access/accesscheck.h"

#include <utility>

#include "hub/access/clientname.h"
#include "hub/access/questiontext.h"
#include "hub/access/securitylevel.h"

namespace hub {

accesscheck::accesscheck(connector connect, asker ask, devicelist& devices, vcore::semaphore& lock)
    : connect_(std::move(connect)), ask_(std::move(ask)), devices_(devices), lock_(lock)
{
}

bool accesscheck::allow(int32_t level, const vcore::str& service, const vcore::str& clientName, int32_t& port)
{
    port = 0;
    const int32_t acting = security::effective(level);
    if (acting == security::blockAll || !lock_.wait(lockWaitMs))
        return false;
    if (acting == security::trustAll || userLetsIn(acting, clientName))
        port = connect_(service);
    lock_.release();
    return port != 0;
}

bool accesscheck::userLetsIn(int32_t level, const vcore::str& clientName)
{
    const clientname client = clientname::split(clientName);
    const bool remembers = level < security::askEveryTime;
    if (remembers && devices_.accepted(client.device))
        return true;
    if (!ask_(accessQuestion(client.display)))
        return false;
    if (remembers)
        devices_.record(client.device);
    return true;
}

} // namespace hub
