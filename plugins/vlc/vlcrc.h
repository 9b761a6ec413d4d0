#pragma once
#include <cstdint>

#include "vcore/str.h"

// Finds VLC's remote-control port in the text of its configuration file `vlcrc`, and rewrites
// the text so that VLC offers the interface on the loopback port 6637 from its next start.
namespace vlc {

constexpr int32_t rewrittenPort = 6637;

struct vlcrcOptions {
    bool allowRewrite = false;
    const char16_t* lineEnd = u"\r\n";  // Linux VLC keeps a CR in its values: give it "\n"
    bool ensureFakeTty = false;         // Linux: VLC's interface refuses a stdin that is no terminal
};

struct vlcrcResult {
    int32_t port = -1;      // -1: none; usable only above 0
    bool usable = false;    // port found, above 0, and the interface enabled, as read
    bool rewrite = false;   // text is the new file, to be written
    vcore::str text;
};

vlcrcResult readVlcrc(const vcore::str& fileText, const vlcrcOptions& options);

} // namespace vlc
