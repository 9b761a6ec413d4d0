#include "hub/programfile.h"

#include <windows.h>

#include <vector>

namespace hub {

vcore::str programPath()
{
    // Grows past MAX_PATH rather than hand on a cut path.
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return vcore::str();
        if (n < buffer.size())
            return vcore::str(reinterpret_cast<const char16_t*>(buffer.data()), int32_t(n));
        if (buffer.size() >= 32768)
            return vcore::str();
        buffer.resize(buffer.size() * 2);
    }
}

bool programVersion(uint16_t (&parts)[4])
{
    const vcore::str path = programPath();
    const auto* name = reinterpret_cast<const wchar_t*>(path.data());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(name, &ignored);
    if (size == 0)
        return false;
    std::vector<uint8_t> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(name, 0, size, block.data()) ||
        !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || length < sizeof *info)
        return false;
    parts[0] = HIWORD(info->dwFileVersionMS);
    parts[1] = LOWORD(info->dwFileVersionMS);
    parts[2] = HIWORD(info->dwFileVersionLS);
    parts[3] = LOWORD(info->dwFileVersionLS);
    return true;
}

} // namespace hub
