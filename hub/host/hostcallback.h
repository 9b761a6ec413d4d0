#pragma once
#include "plugins/common/pluginabi.h"

class PluginHost;

// The callback every plug-in receives at init, and the one host it reaches.
namespace hub {

// "log", "ip" and "reg_get" (A-Z case ignored) raise that event on the host with the argument
// as a vcore::str*. "log" and "ip" answer 1, "reg_get" the number of handlers that took it;
// anything else, or no host, answers 0.
int TOLVANU_STDCALL HostCallback(const char16_t* command, const char16_t* argument);

// Makes host the one the callback reaches; false when another one already is.
bool attachHost(PluginHost* host);
// Waits for callbacks still running on host, then lets the callback reach no host.
void detachHost(PluginHost* host);

} // namespace hub
