#pragma once
#include "vcore/str.h"

namespace remote {

// Whole lines to the terminal, UTF-8, from any thread without mixing them up.
// Results and reports go to standard output, messages to standard error.
void printLine(const vcore::str& line);
void printMessage(const vcore::str& message);

} // namespace remote
