#pragma once
#include "vcore/str.h"

namespace remote {

// The name field of "open": display name and device id joined by ':'. The hub splits at the
// last ':', so the display name may hold ':' of its own; ';' would end the field and is dropped.
// An empty display name becomes "remote".
vcore::str clientName(const vcore::str& displayName, const vcore::str& deviceId);

} // namespace remote
