#pragma once
#include "vcore/strview.h"

// The commands a client sends to a media session, in the order every dispatcher tries them.
namespace media {

enum class mediaCommand {
    setVolume,
    addVolume,
    setPos,
    addPos,
    setTrack,
    play,
    pause,
    prev,
    next,
    stop,
    setShuffle,
    setRepeat,
    search,
    setRating,
    incRating,
    init,
    getComplete,
    getList,
    getShortlist,
    getState,
    close,
    getTitle,  // Winamp component only
    done,      // Winamp component only
    unknown,
};

// Exact, case-sensitive: the caller lower-cases the name first.
mediaCommand mediaCommandFromName(vcore::strview name);
const char16_t* mediaCommandName(mediaCommand command);

} // namespace media
