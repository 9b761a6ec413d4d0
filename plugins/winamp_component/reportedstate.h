#pragma once
#include <cstdint>

#include "vcore/str.h"

// What the component last reported, so that the poll sends only changes.
namespace winamp {

struct reportedState {
    int32_t lastListCount = 0;
    vcore::str lastTailTitle;
    int32_t lastTrack = -1;
    double lastVolume = -1.0;
    vcore::str lastTitle;
    int32_t lastPosition = -1;
    int32_t lastPlayState = -1;
    int32_t lastRepeat = -1;
    int32_t lastShuffle = -1;
    int32_t lastRating = -1;

    // Everything is reported again, except the rating.
    void reset()
    {
        const int32_t rating = lastRating;
        *this = reportedState{};
        lastRating = rating;
    }
};

} // namespace winamp
