#include "tests/support/programenv.h"

#include <cstdlib>

namespace testenv {

std::filesystem::path programFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

void setEnvironment(const char* name, const std::string& value)
{
    setenv(name, value.c_str(), 1);
}

} // namespace testenv
