#pragma once
#include "vcore/str.h"

// This PC's name as the system gives it (up to 256 characters), for the hub's own "open".
namespace hub {

vcore::str computerName();

} // namespace hub
