#include "support.h"

#include <cstdlib>
#include <windows.h>

namespace hosttest {

fs::path programFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

// Through the C runtime, which the libraries read the environment from.
void setEnvironment(const char* name, const std::string& value)
{
    _putenv_s(name, value.c_str());
}

} // namespace hosttest
