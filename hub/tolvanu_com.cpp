#include "hub/tolvanu_com.h"

#include <algorithm>

#include "vcore/computername.h"
#include "hub/programfile.h"
#include "hub/settings.h"

Tolvanu_Com::Tolvanu_Com()
    : terminal_([this](const vcore::str& line) { onLog(line); }),
      question_(terminal_),
      access_([this](const vcore::str& service) { return int32_t(host_.connect(service.data())); },
              [this](const vcore::str& question) { return askUser(question); }, devices_, accessLock_)
{
}

// The plug-ins go here, not with the host: they may still log, into members that go before it.
Tolvanu_Com::~Tolvanu_Com()
{
    quietNode();
    deletePlugins();
}

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

// A question still waiting is answered No before the sessions close, so no client slips in
// after them; the node goes quiet before the plug-ins go, as an "open" would call into them.
void Tolvanu_Com::stop()
{
    if (stopped_)
        return;
    stopped_ = true;
    stopping_ = true;
    question_.cancel();
    closeSessions();
    quietNode();
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
    terminal_.line(line);
    logLock_.release();
    return true;
}

std::vector<vcore::str> Tolvanu_Com::recentLog()
{
    std::vector<vcore::str> lines;
    if (!logLock_.wait(1000))
        return lines;
    const int32_t kept = int32_t(std::min<uint64_t>(ring_.counter(), hub::logring::slots));
    for (int32_t k = kept - 1; k >= 0; --k)
        lines.push_back(ring_.newest(k));
    logLock_.release();
    return lines;
}

void Tolvanu_Com::serverFound(const vcore::str& service, const vcore::str& address)
{
    node_.requestOpen(service, address, vcore::computerName());
}

bool Tolvanu_Com::openRequested(const vcore::str& service, const vcore::str& clientName, int32_t& port)
{
    if (!access_.allow(level_, service, clientName, port))
        return false;
    onOnline();
    return true;
}

// The hub never takes a session that it wanted.
bool Tolvanu_Com::connectOffered(const vcore::str&, const vcore::str&, int32_t) { return false; }

void Tolvanu_Com::sessionClosed(const vcore::str& service)
{
    host_.close(service.data());
    if (!anyPluginBusy())
        onOffline();
}

void Tolvanu_Com::onLog(const vcore::str& text) { emitEvent(u"onLog", const_cast<vcore::str*>(&text)); }
void Tolvanu_Com::onIP(const vcore::str& text) { emitEvent(u"onIP", const_cast<vcore::str*>(&text)); }
void Tolvanu_Com::onOnline() { emitEvent(u"onOnline"); }
void Tolvanu_Com::onOffline() { emitEvent(u"onOffline"); }

bool Tolvanu_Com::askUser(const vcore::str& question)
{
    if (stopping_)
        return false;
    const hub::answer given = question_.ask(question);
    if (given == hub::answer::unasked) {
        vcore::str line(question);
        line.append(u" (no terminal or display to ask: refused)");
        log(line);
    }
    return given == hub::answer::yes;
}

void Tolvanu_Com::subscribeHandlers()
{
    node_.addHandler(u"log", this, &Tolvanu_Com::onLogEvent);
    node_.addHandler(u"ip", this, &Tolvanu_Com::onAddressEvent);
    host_.addHandler(u"log", this, &Tolvanu_Com::onLogEvent);
    host_.addHandler(u"ip", this, &Tolvanu_Com::onAddressEvent);
    host_.addHandler(u"reg_get", this, &Tolvanu_Com::onSettingEvent);
}

// The host takes the folder from a path inside it; it keeps its own copy of the version text.
void Tolvanu_Com::loadPlugins()
{
    vcore::str inFolder(pluginFolder_);
    if (inFolder.empty())
        inFolder = hub::programPath();
    else
        inFolder.append(u"/");
    host_.loadAll(inFolder, hub::versionText());
}

// A port that cannot be opened leaves the hub running, unreachable.
void Tolvanu_Com::openNode()
{
    node_.open(this);
}

void Tolvanu_Com::announceServices()
{
    for (const vcore::str& service : host_.classes())
        node_.announce(service);
}

void Tolvanu_Com::closeSessions()
{
    node_.closeSessions();
}

void Tolvanu_Com::deletePlugins()
{
    host_.releaseAll();
}

void Tolvanu_Com::quietNode()
{
    stopping_ = true;
    question_.cancel();
    vnet::netPort& port = node_.port();
    port.close();
    if (port.isRunning())
        port.finishedEvent().wait(vcore::infinite);
}

bool Tolvanu_Com::anyPluginBusy()
{
    for (int32_t i = 0; i < host_.count(); ++i)
        if (host_.plugin(i).busy())
            return true;
    return false;
}

void Tolvanu_Com::onLogEvent(void* line)
{
    if (line)
        log(*static_cast<const vcore::str*>(line));
}

// Plug-ins named first in the report are busy; the whole report goes to the console.
void Tolvanu_Com::onAddressEvent(void* report)
{
    if (!report)
        return;
    const auto& text = *static_cast<const vcore::str*>(report);
    host_.addressReport(text);
    addresses_.report(text);
    onIP(text);
}

// Taking the request is the whole answer: plug-ins read it as "allowed".
void Tolvanu_Com::onSettingEvent(void*) {}
