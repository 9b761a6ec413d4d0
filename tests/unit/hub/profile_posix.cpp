#include "profile.h"

#include <cstdlib>
#include <filesystem>

scratchProfile::scratchProfile()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvanu-hub-XXXXXX").string();
    // Never fall back to the real profile.
    if (!mkdtemp(pattern.data()))
        std::abort();
    folder_ = pattern;
    std::filesystem::create_directory(folder_ + "/run");
    setenv("XDG_CONFIG_HOME", (folder_ + "/config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (folder_ + "/run").c_str(), 1);
}

scratchProfile::~scratchProfile()
{
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_RUNTIME_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}
