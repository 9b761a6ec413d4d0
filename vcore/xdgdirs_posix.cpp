#include "vcore/xdgdirs_posix.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace vcore::xdg {

namespace {

std::string absoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : "";
}

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return found->pw_dir;
    return "/tmp";
}

} // namespace

std::string configHome()
{
    const std::string config = absoluteVariable("XDG_CONFIG_HOME");
    return config.empty() ? homeFolder() + "/.config" : config;
}

std::string runtimeDir() { return absoluteVariable("XDG_RUNTIME_DIR"); }

} // namespace vcore::xdg
