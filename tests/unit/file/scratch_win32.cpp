#include "scratch.h"

#include <windows.h>

namespace filetest {

void hide(const fs::path& p)
{
    SetFileAttributesW(p.c_str(), GetFileAttributesW(p.c_str()) | FILE_ATTRIBUTE_HIDDEN);
}

bool subfolderChangesReported()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return !(ntdll && GetProcAddress(ntdll, "wine_get_version"));
}

fs::path programFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return fs::path(buffer).parent_path();
}

// Administrators do not bypass the read-only attribute on Windows.
ordinaryUser::ordinaryUser() = default;
ordinaryUser::~ordinaryUser() = default;

} // namespace filetest
