#include "hub/host/librarypattern.h"

namespace hub {

const char16_t* const libraryPattern = u"*.dll";

} // namespace hub
