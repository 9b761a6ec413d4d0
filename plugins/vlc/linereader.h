#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "vcore/str.h"

// Cuts the bytes VLC sends into lines, one character per byte (0..255). A line ends at LF or
// NUL; a line that arrives in pieces is joined, and one longer than maxLineLength is cut there.
namespace vlc {

class lineReader {
public:
    static constexpr int32_t maxLineLength = 65536;

    void push(const char* bytes, size_t count);
    // The next complete line without its LF (a CR before it stays); false when there is none.
    bool next(vcore::str& line);
    bool hasLine() const { return !lines_.empty(); }
    void clear();

private:
    void endLine();

    std::deque<vcore::str> lines_;
    std::u16string partial_;
    bool skipping_ = false;  // the rest of an over-long line
};

} // namespace vlc
