#pragma once
#include <chrono>

#include "hub/access/linegate.h"
#include "hub/access/userquestion.h"
#include "vcore/str.h"

namespace hub {

// Where the question is asked on a terminal: the answer comes from in, the question goes to
// out, and the question ends as soon as cancel (when not -1) becomes readable.
struct terminalio {
    int in;
    int out;
    int cancel;
};

// Prints "<question> [y/N] " as one line, control characters shown as '?', and reads one line:
// "y" or "yes" in any case, blanks around it ignored, is yes; anything else, the end of the
// input, the time-out or a cancel is no. Log lines wait in gate meanwhile.
answer askOnTerminal(const terminalio& io, const vcore::str& question, linegate& gate,
                     std::chrono::milliseconds limit);

// in is a terminal whose foreground is this process: a read from the background would stop it.
bool terminalIsOurs(int in);

} // namespace hub
