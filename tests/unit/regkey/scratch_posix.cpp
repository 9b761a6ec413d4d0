#include "scratch.h"

#include <cstdlib>
#include <filesystem>
#include <string>

// Settings files of its own per test, in a temporary $XDG_CONFIG_HOME.
scratchRegistry::scratchRegistry() : base_(u"SOFTWARE\\TolvanuTest")
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvanu-regkey-XXXXXX").string();
    // Never fall back to the real profile.
    if (!mkdtemp(pattern.data()))
        std::abort();
    folder_ = pattern;
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
}

scratchRegistry::~scratchRegistry()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    unsetenv("XDG_CONFIG_HOME");
}
