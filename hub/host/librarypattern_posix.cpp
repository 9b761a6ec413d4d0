#include "hub/host/librarypattern.h"

namespace hub {

const char16_t* const libraryPattern = u"*.so";
const char16_t* const installedPluginFolder = u"lib/tolvanu/";

} // namespace hub
