#pragma once
#include <cstdint>

#include "plugins/vlc/vlcrc.h"
#include "vcore/str.h"

// Finds VLC's remote-control port in its configuration file and, when allowed and needed,
// prepares the file so that VLC offers the interface from its next start.
namespace vlc {

struct configOutcome {
    int32_t port = -1;           // above 0 when there is one
    bool rewritten = false;      // the file was replaced; the old one is vlcrc.bak
    bool rewriteFailed = false;  // a rewrite was due but the file stayed as it was
};

// A file that cannot be read yields no port and is never rewritten; a rewrite that fails
// leaves the port as the file gave it.
configOutcome prepareConfig(const vcore::str& path, const vlcrcOptions& options);

} // namespace vlc
