#pragma once
#include <cstdint>

#include "vcore/str.h"

// The "media.pos" report: absolute position, elapsed, length and remaining time.
namespace media {

struct positionStyle {
    int32_t decimals;        // of the absolute position
    bool shortWithoutLength; // "media.pos 0 m:ss" when the length is under one second
    bool clampElapsed;       // time fields use the elapsed time clamped into 0..length
};

constexpr positionStyle vlcPosition{2, true, true};
constexpr positionStyle threeDecimalPosition{3, false, false};  // iTunes, Windows Media Player

// elapsed and length in seconds; the time fields show them truncated to whole seconds.
vcore::str positionReport(double elapsed, double length, const positionStyle& style);

} // namespace media
