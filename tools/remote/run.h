#pragma once
#include "tools/remote/options.h"
#include "tools/remote/status.h"

namespace remote {

// Carries out what the command line asked for.
status run(const options& o);

} // namespace remote
