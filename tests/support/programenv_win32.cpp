#include "tests/support/programenv.h"

#include <cstdlib>
#include <windows.h>

namespace testenv {

std::filesystem::path programFolder()
{
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

void setEnvironment(const char* name, const std::string& value)
{
    _putenv_s(name, value.c_str());
}

} // namespace testenv
