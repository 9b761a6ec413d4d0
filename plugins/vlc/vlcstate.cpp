#include "plugins/vlc/vlcstate.h"

namespace vlc {

void vlcState::resetForConnect()
{
    playState = stopped;
    pendingSeek = -1;
    pendingVolume = -1;
    lastReportedPosition = -1;
    sessionActive = false;
    listRefreshNeeded = true;
    titleRefreshNeeded = true;
    timeRefreshNeeded = true;
}

} // namespace vlc
