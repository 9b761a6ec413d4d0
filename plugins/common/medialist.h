#pragma once
#include <cstdint>
#include <vector>

#include "vcore/str.h"

// The play list as reports: the full list and the short window around the current track.
namespace media {

using titleList = std::vector<vcore::str>;

// "media.list_start", one "media.list_title %s" per entry, "media.list_end".
std::vector<vcore::str> fullListReports(const titleList& list);

// Long titles in the short list are cut to length units and get suffix.
struct titleCut {
    int32_t length;
    const char16_t* suffix;
};
constexpr titleCut vlcTitleCut{80, u".."};      // VLC, Windows Media Player
constexpr titleCut itunesTitleCut{60, u"..."};  // iTunes (UTF-8 bytes, one unit each)

// First index shown for count entries around current in a list of entries titles.
int32_t shortListFirst(int32_t current, int32_t count, int32_t entries);
// "media.shortlist %d " followed by each shown title and a tab.
vcore::str shortListReport(const titleList& list, int32_t current, int32_t count, titleCut cut);

} // namespace media
