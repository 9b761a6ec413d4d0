#pragma once
#include "vcore/str.h"
#include "vcore/strview.h"

// A VLC line cut into the parts the reply parser looks at, as views into the line:
// "head: ... ( inner ) ...: tail", e.g. "status change: ( pause state: 3 ): Pause".
namespace vlc {

struct lineParts {
    vcore::strview head;   // before the first ':' (the whole line without one), spaces trimmed
    vcore::strview inner;  // between the first '(' and the next ')', spaces trimmed
    vcore::strview tail;   // after the ':' that follows the first ')', blanks and line ends trimmed
};

lineParts cutLine(const vcore::str& line);

} // namespace vlc
