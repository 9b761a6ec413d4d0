#pragma once
#include <atomic>
#include <cstdint>
#include <vector>

#include "hub/access/accesscheck.h"
#include "hub/access/deviceregistry.h"
#include "hub/access/linegate.h"
#include "hub/access/userquestion.h"
#include "hub/addresslist.h"
#include "hub/host/pluginhost.h"
#include "hub/logring.h"
#include "hub/node/c4interface.h"
#include "hub/node/c4node.h"
#include "vcore/semaphore.h"
#include "vcore/str.h"
#include "vcore/vobject.h"

// The hub's communication object: the protocol node and its owner's decisions (access check,
// plug-in sessions), the security level, the log ring, and the plug-in host.
// A class that overrides the handlers calls stop() in its own destructor: the node's worker
// may call them until then.
class Tolvanu_Com : public vcore::vObject, public C4Interface {
public:
    Tolvanu_Com();
    // Stops the node's worker and unloads the plug-ins before anything they call into is gone.
    ~Tolvanu_Com() override;

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
    // The ring's lines, oldest first, copied under the log lock (none when it stays taken).
    std::vector<vcore::str> recentLog();
    // The addresses reported so far, the latest current.
    const hub::addresslist& addresses() const { return addresses_; }
    // Where log lines meet the access question on the terminal.
    hub::linegate& terminal() { return terminal_; }

    int32_t level() const { return level_; }
    void setLevel(int32_t level) { level_ = level; }

    C4Node& node() { return node_; }
    PluginHost& host() { return host_; }
    // Where start() looks for plug-ins; the program's own folder unless set.
    void setPluginFolder(const vcore::str& folder) { pluginFolder_ = folder; }

    // The node's questions, on its worker thread (sessionClosed also on the closing thread).
    void serverFound(const vcore::str& service, const vcore::str& address) override;
    bool openRequested(const vcore::str& service, const vcore::str& clientName, int32_t& port) override;
    bool connectOffered(const vcore::str& service, const vcore::str& address, int32_t port) override;
    void sessionClosed(const vcore::str& service) override;

    // By default each raises the event of its name ("onLog", "onIP" with a vcore::str* argument).
    virtual void onLog(const vcore::str& text);
    virtual void onIP(const vcore::str& text);
    virtual void onOnline();
    virtual void onOffline();

protected:
    // The access question to the user at this PC; true only for a yes. Nobody to ask is a no,
    // logged.
    virtual bool askUser(const vcore::str& question);

private:
    void subscribeHandlers();
    void loadPlugins();
    void openNode();
    void announceServices();
    void closeSessions();
    void deletePlugins();
    // No datagram is handled and no question waits once it returns.
    void quietNode();
    bool anyPluginBusy();

    void onLogEvent(void* line);
    void onAddressEvent(void* report);
    void onSettingEvent(void* name);

    C4Node node_;
    std::atomic<int32_t> level_{-1};  // changed by the menu, read by the protocol worker
    vcore::semaphore accessLock_;
    vcore::semaphore logLock_;
    hub::logring ring_;
    PluginHost host_;
    hub::addresslist addresses_;

    hub::deviceregistry devices_;
    hub::linegate terminal_;  // log lines and the question share the terminal
    hub::userquestion question_;
    hub::accesscheck access_;
    vcore::str pluginFolder_;
    std::atomic<bool> stopping_{false};
    bool stopped_ = false;
};
