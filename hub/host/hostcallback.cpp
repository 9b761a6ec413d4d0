#include "hub/host/hostcallback.h"

#include <mutex>
#include <shared_mutex>

#include "hub/host/nametext.h"
#include "hub/host/pluginhost.h"

namespace hub {
namespace {

// Callbacks come from any plug-in thread; the host must not go while one runs.
std::shared_mutex hostGuard;
PluginHost* currentHost = nullptr;

} // namespace

bool attachHost(PluginHost* host)
{
    std::unique_lock<std::shared_mutex> hold(hostGuard);
    if (currentHost)
        return false;
    currentHost = host;
    return true;
}

void detachHost(PluginHost* host)
{
    std::unique_lock<std::shared_mutex> hold(hostGuard);
    if (currentHost == host)
        currentHost = nullptr;
}

int TOLVANU_STDCALL HostCallback(const char16_t* command, const char16_t* argument)
{
    std::shared_lock<std::shared_mutex> hold(hostGuard);
    if (!currentHost || !command)
        return 0;
    vcore::str text(argument ? argument : u"");
    if (sameName(command, u"log") || sameName(command, u"ip")) {
        currentHost->emitEvent(sameName(command, u"log") ? u"log" : u"ip", &text);
        return 1;
    }
    if (sameName(command, u"reg_get"))
        return currentHost->emitEvent(u"reg_get", &text);
    return 0;
}

} // namespace hub
