#pragma once
#include "tools/remote/options.h"
#include "tools/remote/status.h"

namespace remote {

// send: opens a session, sends the one command, prints the reports for --wait, closes.
status sendOne(const options& o);
// session: opens a session, sends each line of standard input, prints the reports as they
// come, closes at the end of the input (after --wait, for the last reports).
status converse(const options& o);

} // namespace remote
