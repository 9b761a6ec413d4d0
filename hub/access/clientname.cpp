#include "hub/access/clientname.h"

namespace hub {

clientname clientname::split(const vcore::str& name)
{
    const int32_t colon = name.findLast(u':');
    if (colon < 0)
        return {name, name};
    return {vcore::str(name.mid(0, colon)), vcore::str(name.mid(colon + 1))};
}

} // namespace hub
