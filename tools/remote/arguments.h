#pragma once
#include <vector>

#include "vcore/str.h"

namespace remote {

// The program's arguments without its name, as UTF-16 texts.
std::vector<vcore::str> programArguments(int argc, char** argv);

} // namespace remote
