#include "hub/autostart.h"

#include "vcore/strchars.h"

namespace hub {

bool namesProgram(const vcore::str& path, const char16_t* fileName)
{
    const int32_t start = path.findLastOf(path.length(), u"\\/") + 1;
    const vcore::strview name = path.mid(start);
    if (name.length() != vcore::chars::length(fileName))
        return false;
    for (int32_t i = 0; i < name.length(); ++i)
        if (vcore::chars::lower(name[i]) != vcore::chars::lower(fileName[i]))
            return false;
    return true;
}

bool autostartEnabled() { return namesProgram(autostartProgram(), programFileName); }

} // namespace hub
