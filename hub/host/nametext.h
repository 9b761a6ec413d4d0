#pragma once
#include "vcore/strview.h"

// Name comparison as the hub does it with plug-ins: only A-Z case is ignored.
namespace hub {

bool sameName(vcore::strview a, vcore::strview b);
bool sameName(const char16_t* a, const char16_t* b);

} // namespace hub
