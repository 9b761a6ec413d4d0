#include "plugins/common/hostlink.h"

#include <atomic>

namespace plugin {
namespace {

// Set on the hub's thread at init, read on the session's worker.
std::atomic<HostCallback> callback{nullptr};

} // namespace

void setHostCallback(HostCallback cb)
{
    callback = cb;
}

HostCallback hostCallback()
{
    return callback;
}

int callHost(const char16_t* command, const char16_t* argument)
{
    HostCallback cb = callback;
    return cb ? cb(command, argument) : 0;
}

bool hostLog(const vcore::str& line)
{
    return callHost(u"log", line.data()) != 0;
}

} // namespace plugin
