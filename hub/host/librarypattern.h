#pragma once

// The file pattern of this system's shared libraries ("*.dll", "*.so").
namespace hub {

extern const char16_t* const libraryPattern;

// Where an installed program's plug-ins sit when none are beside it, relative to the folder
// above the program's ("lib/tolvanu/": /usr/bin/tolvanu, /usr/lib/tolvanu/); null where
// plug-ins always sit beside the program (Windows).
extern const char16_t* const installedPluginFolder;

} // namespace hub
