#include "tools/remote/clientname.h"

namespace remote {

vcore::str clientName(const vcore::str& displayName, const vcore::str& deviceId)
{
    vcore::str name(displayName);
    name.removeChars(u";");
    if (name.empty())
        name = u"remote";
    name.append(u':');
    name.append(deviceId);
    return name;
}

} // namespace remote
