#pragma once
#include <cstdint>

// Winamp's window messages: IPC n is WM_USER with lParam n; buttons are WM_COMMAND ids.
namespace winamp {

constexpr const char* windowClass = "Winamp v1.x";
constexpr uint16_t componentPort = 6635;

namespace ipc {
constexpr int version = 0;
constexpr int playState = 104;    // 1 playing, 3 paused, 0 stopped
constexpr int position = 105;     // wParam 0: position ms, 2: length ms
constexpr int jumpTo = 106;       // wParam: ms
constexpr int setTrack = 121;     // wParam: index
constexpr int volume = 122;       // wParam 0..255; -666 reads
constexpr int listLength = 124;
constexpr int listPosition = 125;
constexpr int listTitle = 213;    // wParam: index; result: wide text in Winamp's memory
constexpr int getShuffle = 250;
constexpr int getRepeat = 251;
constexpr int setShuffle = 252;
constexpr int setRepeat = 253;
constexpr int titleRecord = 291;  // wParam: -> titleInfo
constexpr int setRating = 639;    // wParam: 0..5
constexpr int getRating = 640;
} // namespace ipc

constexpr intptr_t positionNow = 0;
constexpr intptr_t positionLength = 2;
constexpr intptr_t volumeQuery = -666;

namespace button {
constexpr int prev = 40044;
constexpr int play = 40045;
constexpr int pause = 40046;
constexpr int stop = 40047;
constexpr int next = 40048;
} // namespace button

// IPC 291's record: only the fourth field comes back filled.
struct titleInfo {
    const char* emptyText;
    int32_t zero;
    int32_t room;
    char* title;
    int32_t titleRoom;
};
#if defined(__i386__)
static_assert(sizeof(titleInfo) == 20, "five 32-bit fields");
#endif

constexpr int32_t titleBufferSize = 256;

} // namespace winamp
