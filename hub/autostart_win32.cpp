#include "hub/autostart.h"

#include "hub/programfile.h"
#include "vcore/regkey.h"

namespace hub {

const char16_t* const programFileName = u"Tolvanu.exe";

namespace {
constexpr const char16_t* runKey = u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char16_t* valueName = u"Tolvanu";
}

vcore::str autostartProgram()
{
    vcore::regkey key;
    vcore::str text;
    if (!key.open(runKey) || !key.readText(valueName, text))
        return vcore::str();
    return text;
}

void setAutostart(bool on)
{
    vcore::regkey key;
    if (!key.open(runKey, true))
        return;
    const vcore::str path = programPath();
    if (!on)
        key.deleteValue(valueName);
    else if (!path.empty())
        key.writeText(valueName, path);
}

} // namespace hub
