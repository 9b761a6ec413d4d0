// The Winamp plug-in's entry points: it only says whether Winamp runs and points clients at the
// component's port inside Winamp; it opens and starts nothing.
#include "plugins/common/servicename.h"
#include "plugins/winamp/winampcheck.h"

namespace {

constexpr int componentPort = 6635;
constexpr int nameRoom = 256;  // the hub's buffer, terminator included
const vcore::str serviceName(u"media.Winamp");

bool accepted(const char16_t* name)
{
    return plugin::namesService(name, serviceName);
}

} // namespace

// Not pluginabi.h: init takes one argument here, which a C declaration cannot overload.
extern "C" {

// One argument: this plug-in asks nothing of the hub (a caller passing a callback is harmless,
// the caller cleans the stack).
int __cdecl Tolvanu_init(char16_t* nameBuffer)
{
    if (!nameBuffer)
        return 0;
    int i = 0;
    for (; i < nameRoom - 1 && serviceName[i] != 0; ++i)
        nameBuffer[i] = serviceName[i];
    nameBuffer[i] = 0;
    return 1;
}

int __cdecl Tolvanu_search(const char16_t* name)
{
    return accepted(name) && winamp::winampAnswers() ? 1 : 0;
}

int __cdecl Tolvanu_connect(const char16_t* name)
{
    return accepted(name) && winamp::winampAnswers() ? componentPort : 0;
}

int __cdecl Tolvanu_close(const char16_t* name)
{
    return !name || name[0] == 0 || accepted(name) ? 1 : 0;
}

}
