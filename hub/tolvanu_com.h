#pragma once
#include <atomic>
#include <cstdint>

#include "hub/logring.h"
#include "vcore/semaphore.h"
#include "vcore/str.h"
#include "vcore/vobject.h"

// The hub's communication object: security level, access and log locks, the log ring; the
// protocol node and the plug-in host join it with their subsystems.
class Tolvanu_Com : public vcore::vObject {
public:
    Tolvanu_Com() = default;
    ~Tolvanu_Com() override = default;

    // Subscribes the handlers, reads the level, loads the plug-ins, opens the node, announces.
    void start();
    // Closes the sessions, unloads the plug-ins, forgets the devices above level 1, writes the level.
    // Runs once, however often it is called.
    void stop();

    // The log handler: the line into the ring and onLog(), under the log lock; a line that cannot
    // have the lock within 1000 ms is dropped (false).
    bool log(const vcore::str& line);
    // Read it under the log lock: from onLog().
    const hub::logring& ring() const { return ring_; }

    int32_t level() const { return level_; }
    void setLevel(int32_t level) { level_ = level; }

    // By default each raises the event of its name ("onLog", "onIP" with a vcore::str* argument).
    virtual void onLog(const vcore::str& text);
    virtual void onIP(const vcore::str& text);
    virtual void onOnline();
    virtual void onOffline();

private:
    void subscribeHandlers();
    void loadPlugins();
    void openNode();
    void announceServices();
    void closeSessions();
    void deletePlugins();

    // The protocol node comes first here, with the discovery protocol.
    std::atomic<int32_t> level_{-1};  // changed by the menu, read by the protocol worker
    vcore::semaphore accessLock_;
    vcore::semaphore logLock_;
    hub::logring ring_;
    // The plug-in host comes last here, with the plug-ins.
    bool stopped_ = false;
};
