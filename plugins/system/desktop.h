#pragma once
#include <memory>

#include "plugins/system/faultnotes.h"
#include "plugins/system/machine.h"

// The machine of the PC this library runs on (one implementation per platform).
namespace systemctl {

// Set up at load, on the loading thread; log takes the backend's lines for the hub.
std::unique_ptr<machine> makeDesktop(logSink log);

} // namespace systemctl
