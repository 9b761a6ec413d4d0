#pragma once
#include <cstdint>

#include "vcore/str.h"

// The command lines written to VLC's remote-control interface, and how long a reply may take.
namespace vlc {

inline constexpr const char16_t* playCommand = u"play\n";
inline constexpr const char16_t* pauseCommand = u"pause\n";  // VLC toggles
inline constexpr const char16_t* stopCommand = u"stop\n";
inline constexpr const char16_t* prevCommand = u"prev\n";
inline constexpr const char16_t* nextCommand = u"next\n";
inline constexpr const char16_t* getTitleCommand = u"get_title\n";
inline constexpr const char16_t* getLengthCommand = u"get_length\n";
inline constexpr const char16_t* getTimeCommand = u"get_time\n";
inline constexpr const char16_t* playlistCommand = u"playlist\n";
inline constexpr const char16_t* statusCommand = u"status\r\n";
inline constexpr const char16_t* logoutCommand = u"logout\n";

// "volume %d\n" with percent × 512 / 100, truncated.
vcore::str volumeCommand(double percent);
// "seek %d\n" with whole seconds, truncated.
vcore::str seekCommand(double seconds);
// "goto %d\n": VLC counts list entries from 1.
vcore::str gotoCommand(int32_t index);
vcore::str randomCommand(bool on);
vcore::str loopCommand(bool on);

// The command as remembered for matching its reply: blanks and line ends trimmed.
vcore::str lastCommandOf(const vcore::str& text);

constexpr int32_t replyStartWaitMs = 20;
// How long the sender waits for the whole reply: a play list takes longer.
int32_t replyWaitMs(const vcore::str& lastCommand);

} // namespace vlc
