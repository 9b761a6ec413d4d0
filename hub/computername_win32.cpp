#include "hub/computername.h"

#include <windows.h>

namespace hub {

vcore::str computerName()
{
    wchar_t name[257] = {};
    DWORD size = 256;
    if (!GetComputerNameW(name, &size))
        return vcore::str();
    return vcore::str(reinterpret_cast<const char16_t*>(name));
}

} // namespace hub
