#pragma once
#include <cstdint>

#include "plugins/common/medialist.h"
#include "vcore/str.h"

// What the VLC connector remembers of the player, to report only what changed.
namespace vlc {

constexpr int32_t stopped = -1;
constexpr int32_t paused = 0;
constexpr int32_t playing = 1;

struct vlcState {
    bool sessionActive = false;
    bool shortListMode = false;
    double volume = 100;                // percent
    double pendingVolume = -1;          // below 0: none
    double length = -1;                 // seconds; below 0: unknown
    double time = 0;                    // seconds; below 0: unknown
    double pendingSeek = -1;            // seconds; below 0: none
    double lastReportedPosition = -1;
    int32_t playState = paused;
    int32_t trackIndex = -1;
    int32_t repeat = 0;
    int32_t shuffle = 0;
    vcore::str title;
    media::titleList list;
    bool listRefreshNeeded = true;
    bool titleRefreshNeeded = true;
    bool timeRefreshNeeded = true;

    vlcState() { list.reserve(256); }
    // A new client: nothing is known of the player yet; the list mode stays.
    void resetForConnect();
    bool isPlaying() const { return playState == playing; }
    bool hasPendingSeek() const { return pendingSeek >= 0; }
    bool hasPendingVolume() const { return pendingVolume >= 0; }
};

} // namespace vlc
