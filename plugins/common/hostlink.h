#pragma once
#include "plugins/common/pluginabi.h"
#include "vcore/str.h"

// The hub's callback as this library received it at init, kept for the life of the library.
namespace plugin {

void setHostCallback(HostCallback callback);
HostCallback hostCallback();

// The callback's answer; 0 without a callback.
int callHost(const char16_t* command, const char16_t* argument);
// One line for the hub's log; false when there is no callback or the hub did not take it.
bool hostLog(const vcore::str& line);

} // namespace plugin
