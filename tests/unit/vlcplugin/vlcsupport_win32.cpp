#include <windows.h>

#include <cstdlib>

#include "vlcsupport.h"

namespace vlctest {

fs::path programFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

void setEnvironment(const char* name, const std::string& value)
{
    _putenv_s(name, value.c_str());
}

} // namespace vlctest
