#pragma once
#include "vcore/str.h"

// This PC's name as the system gives it (up to 256 characters): the client
// name of the hub's own "open", the name in "media.app".
namespace vcore {

str computerName();

} // namespace vcore
