#include "hub/host/librarypattern.h"

namespace hub {

const char16_t* const libraryPattern = u"*.dll";
const char16_t* const installedPluginFolder = nullptr;

} // namespace hub
