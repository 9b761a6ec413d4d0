#pragma once
#include <cstdint>

#include "vcore/str.h"

// The one-line state reports a media session sends to its client.
namespace media {

enum class speedWord { playing, paused, stopped };  // "1.0", "0.0", "0"

vcore::str speedReport(speedWord word);
// Three states, -1 stopped, 0 paused, 1 playing (VLC).
speedWord speedOfPlayState(int32_t playState);
// Playing or not (Windows Media Player; iTunes after "media.play").
speedWord speedOfPlaying(bool playing);
// Anything but stopped counts as playing (iTunes state report).
speedWord speedOfStopped(bool stopped);

vcore::str volumeReport(double percent);
vcore::str titleReport(const vcore::str& title);
vcore::str trackReport(int32_t index);
vcore::str shuffleReport(int32_t shuffle);
vcore::str repeatReport(int32_t repeat);
vcore::str ratingReport(int32_t rating);
// player: "VLC", "iTunes", "WMP12", "Winamp".
vcore::str appReport(const vcore::str& computerName, const char16_t* player);
vcore::str closeReport();

} // namespace media
