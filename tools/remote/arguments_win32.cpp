#include "tools/remote/arguments.h"

#include <windows.h>

#include <shellapi.h>

namespace remote {

// argv holds the arguments in the ANSI code page; the wide command line has them whole.
std::vector<vcore::str> programArguments(int, char**)
{
    std::vector<vcore::str> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back(vcore::str(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return args;
}

} // namespace remote
