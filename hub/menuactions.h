#pragma once
#include <cstdint>
#include <vector>

#include "vcore/str.h"

// What the hub's menu acts on, whichever face carries it (tray menu, terminal keys).
namespace hub {

struct pluginrow {
    vcore::str instanceName;
    vcore::str className;
    bool busy = false;
    bool enabled = true;
};

struct addressrow {
    vcore::str text;
    bool current = false;
};

class menuactions {
public:
    virtual ~menuactions() = default;

    virtual int32_t level() = 0;
    // Levels that ask per session or stricter also forget the accepted devices.
    virtual void chooseLevel(int32_t level) = 0;
    virtual bool autostart() = 0;
    virtual void setAutostart(bool on) = 0;
    // In the host's order, which numbers them for the keys.
    virtual std::vector<pluginrow> plugins() = 0;
    // The plug-in's own close entry point with its own class name.
    virtual void closePlugin(int32_t index) = 0;
    // Switching off a busy plug-in closes its session.
    virtual void setPluginEnabled(int32_t index, bool on) = 0;
    // Every open session of the protocol node: plug-ins closed, "close" sent to the clients.
    virtual void closeSessions() = 0;
    virtual std::vector<addressrow> addresses() = 0;
    // The log ring, oldest line first.
    virtual std::vector<vcore::str> recentLog() = 0;
    // A line of the console's own, beside the log lines (not into the ring).
    virtual void print(const vcore::str& line) = 0;
    // Ends the hub in order.
    virtual void exit() = 0;
};

} // namespace hub
