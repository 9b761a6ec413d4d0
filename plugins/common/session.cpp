#include "plugins/common/session.h"

#include <chrono>
#include <thread>

#include "plugins/common/servicename.h"

namespace plugin {

session::session(const char16_t* serviceName)
    : serviceName_(serviceName ? serviceName : u"")
{
}

session::~session()
{
    // The worker calls our handlers: it must be gone before this part of the object is.
    close();
}

bool session::accepts(const char16_t* name) const
{
    return namesService(name, serviceName_);
}

bool session::acceptsForClose(const char16_t* name) const
{
    return !name || !name[0] || accepts(name);
}

uint32_t session::connectSession()
{
    if (!stateLock().wait(lockWaitMs))
        return 0;
    const bool reached = present();
    bool opened = false;
    if (reached) {
        active_ = false;
        resetState();
        setTimeOut(pollPeriod());
        opened = openSessionPort();
    }
    const uint32_t port = opened ? portNumber() : 0;
    stateLock().release();
    // Outside the lock: letting go of the player may want the lock itself.
    if (reached && !opened)
        releasePlayer();
    return port;
}

// A port that did not bind is closed again, so its worker does not keep trying on its own.
bool session::openSessionPort()
{
    if (!reopensOnConnect() && isOpen() && connected())
        return true;
    if (open(0u, true, true, sessionPortNumber()) && connected())
        return true;
    close();
    return false;
}

void session::closeSession()
{
    closingSession();
    sendReport(vcore::str(u"media.close"));
    if (uint32_t pause = closePause())
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    close();
    releasePlayer();
    active_ = false;
}

media::mediaMessage session::split(const vcore::str& text) const
{
    return media::splitMediaMessage(text);
}

} // namespace plugin
