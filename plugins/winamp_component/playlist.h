#pragma once
#include <cstdint>

#include "plugins/winamp_component/winampwindow.h"
#include "vcore/str.h"

// Reading Winamp's play list and current title, within bounds Winamp's answers cannot break.
namespace winamp {

// Most entries taken from a list, whatever count Winamp answers.
constexpr int32_t maxListEntries = 65536;
// Most characters read from one title pointer; the rest is dropped.
constexpr int32_t maxTitleLength = 1024;

// IPC 124 clamped into 0..maxListEntries; false when unanswered.
bool listLength(window& w, int32_t& count);
// The title of entry index (IPC 213); empty when Winamp answers null.
vcore::str listTitle(window& w, int32_t index);
// The current title through IPC 291's record, widened; false when unanswered.
bool currentTitle(window& w, vcore::str& title);

} // namespace winamp
