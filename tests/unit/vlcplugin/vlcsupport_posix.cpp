#include <cstdlib>

#include "vlcsupport.h"

namespace vlctest {

fs::path programFolder()
{
    return fs::read_symlink("/proc/self/exe").parent_path();
}

void setEnvironment(const char* name, const std::string& value)
{
    setenv(name, value.c_str(), 1);
}

} // namespace vlctest
