#include "hub/tolvanu_com.h"

#include "hub/settings.h"

void Tolvanu_Com::start()
{
    subscribeHandlers();
    int32_t stored = -1;
    if (hub::settings::readLevel(stored))
        level_ = stored;
    loadPlugins();
    openNode();
    announceServices();
}

void Tolvanu_Com::stop()
{
    if (stopped_)
        return;
    stopped_ = true;
    closeSessions();
    deletePlugins();
    if (level_ > 1)
        hub::settings::deleteDevices();
    hub::settings::writeLevel(level_);
}

bool Tolvanu_Com::log(const vcore::str& line)
{
    if (!logLock_.wait(1000))
        return false;
    ring_.add(line);
    onLog(line);
    logLock_.release();
    return true;
}

void Tolvanu_Com::onLog(const vcore::str& text) { emitEvent(u"onLog", const_cast<vcore::str*>(&text)); }
void Tolvanu_Com::onIP(const vcore::str& text) { emitEvent(u"onIP", const_cast<vcore::str*>(&text)); }
void Tolvanu_Com::onOnline() { emitEvent(u"onOnline"); }
void Tolvanu_Com::onOffline() { emitEvent(u"onOffline"); }

// Seams for the subsystems still to come; each is called in its place of the start and stop orders.

// "log" and "ip" of the protocol node and the plug-in host, and the host's "reg_get".
void Tolvanu_Com::subscribeHandlers() {}
// Loads the plug-ins beside the program; the host keeps its own copy of the version text.
void Tolvanu_Com::loadPlugins() {}
// Opens the protocol node's UDP port with this object as its owner.
void Tolvanu_Com::openNode() {}
// Announces each service class of the plug-ins, in list order.
void Tolvanu_Com::announceServices() {}
// Closes the node's open sessions: every plug-in's close entry point, "close" to the clients.
void Tolvanu_Com::closeSessions() {}
// Deletes the plug-ins last first, unloading their libraries.
void Tolvanu_Com::deletePlugins() {}
