#include "vcore/computername.h"

#include <windows.h>

namespace vcore {

str computerName()
{
    wchar_t name[257] = {};
    DWORD size = 256;
    if (!GetComputerNameW(name, &size))
        return str();
    return str(reinterpret_cast<const char16_t*>(name), int32_t(size));
}

} // namespace vcore
