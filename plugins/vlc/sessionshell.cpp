#include "plugins/vlc/sessionshell.h"

#include "vcore/computername.h"
#include "plugins/vlc/unlocked.h"
#include "vnet/address.h"

namespace vlc {

// The host's log may be slow to take a line; the parser must not wait for it.
bool sessionShell::sendReport(const vcore::str& text)
{
    unlocked reporting(access_);
    return session_.sendReport(text);
}

// Taken in the order state lock, then access, on every thread.
bool sessionShell::lockState(int32_t waitMs)
{
    unlocked waiting(access_);
    return session_.stateLock().wait(uint32_t(waitMs));
}

void sessionShell::unlockState()
{
    session_.stateLock().release();
}

bool sessionShell::isOwnAddress(uint32_t address)
{
    return vnet::isLocalAddress(session_, address);
}

vcore::str sessionShell::computerName()
{
    return vcore::computerName();
}

} // namespace vlc
