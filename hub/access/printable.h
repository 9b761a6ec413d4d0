#pragma once
#include "vcore/str.h"

namespace hub {

// Text from the network made safe for a terminal: control characters (C0, DEL and C1, which
// some terminals take as escape sequences even in UTF-8) become '?'.
vcore::str printable(const vcore::str& text);

} // namespace hub
