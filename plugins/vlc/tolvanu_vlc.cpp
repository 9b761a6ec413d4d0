#include "plugins/vlc/tolvanu_vlc.h"

#include <chrono>
#include <thread>

#include "plugins/common/hostlink.h"
#include "plugins/vlc/vlccommands.h"
#include "plugins/vlc/vlcconfig.h"
#include "plugins/vlc/vlcrcfile.h"

Tolvanu_VLC::Tolvanu_VLC()
    : session(u"media.VLC"), link_(state_, access_, *this), shell_(*this, link_, access_), operations_(state_, shell_)
{
}

Tolvanu_VLC::~Tolvanu_VLC()
{
    // Both workers call into this object, also when a handler outlasts close().
    close();
    link_.close();
    waitWorkerEnd();
    link_.waitClosed();
}

bool Tolvanu_VLC::prepare()
{
    const bool allowRewrite = plugin::callHost(u"reg_get", u"vlc_autoconfig") > 0;
    const vlc::configOutcome outcome = vlc::prepareConfig(configPath(), vlc::vlcrcOptionsHere(allowRewrite));
    noteRewrite(outcome.rewritten, outcome.rewriteFailed);
    return outcome.port > 0;
}

// The user has to know that VLC must be started again, and where the old file went.
void Tolvanu_VLC::noteRewrite(bool rewritten, bool failed)
{
    if (rewritten)
        plugin::hostLog(vcore::str(u"VLC: vlcrc set up for the remote control (old file kept as vlcrc.bak); restart VLC"));
    else if (failed)
        plugin::hostLog(vcore::str(u"VLC: vlcrc could not be rewritten; it was left as it was"));
}

bool Tolvanu_VLC::present()
{
    std::lock_guard<std::mutex> hold(playerLock_);
    if (!link_.isOpen()) {
        const vlc::configOutcome outcome = vlc::prepareConfig(configPath(), vlc::vlcrcOptionsHere(false));
        if (outcome.port <= 0)
            return false;
        if (link_.open(outcome.port))
            std::this_thread::sleep_for(std::chrono::milliseconds(linkSettleMs));
    }
    return link_.connected();
}

vcore::str Tolvanu_VLC::configPath() const
{
    return vlc::vlcrcPath();
}

void Tolvanu_VLC::resetState()
{
    std::lock_guard<std::mutex> hold(access_);
    state_.resetForConnect();
}

void Tolvanu_VLC::closingSession()
{
    std::lock_guard<std::mutex> hold(access_);
    state_.sessionActive = false;
    link_.sendCommand(vcore::str(vlc::logoutCommand));
}

bool Tolvanu_VLC::dispatch(const vcore::str& name, const vcore::str& argument)
{
    const media::mediaCommand command = media::mediaCommandFromName(name.view());
    std::lock_guard<std::mutex> hold(access_);
    return operations_.run(command, argument);
}

void Tolvanu_VLC::poll()
{
    std::lock_guard<std::mutex> hold(access_);
    operations_.poll();
}

void Tolvanu_VLC::releasePlayer()
{
    std::lock_guard<std::mutex> hold(playerLock_);
    link_.close();
}

void Tolvanu_VLC::deliver(const vlc::lineOutcome& outcome)
{
    for (const vcore::str& line : outcome.logLines)
        plugin::hostLog(line);
    for (const vcore::str& report : outcome.reports)
        sendReport(report);
}
