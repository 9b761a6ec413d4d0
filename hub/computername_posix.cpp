#include "hub/computername.h"

#include <unistd.h>

#include "vcore/nativepath.h"

namespace hub {

vcore::str computerName()
{
    char name[257] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return vcore::str();
    return vcore::fromNativePath(name);
}

} // namespace hub
