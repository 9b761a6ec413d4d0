#include "vcore/lib.h"

#include <windows.h>

namespace vcore {

bool lib::load(const char16_t* path, bool keepLoaded)
{
    unload();
    name_.set(path);
    if (!path)
        return false;
    module_ = LoadLibraryW(reinterpret_cast<const wchar_t*>(path));
    owned_ = module_ && !keepLoaded;
    return module_ != nullptr;
}

bool lib::attachByAddress(const void* address)
{
    unload();
    MEMORY_BASIC_INFORMATION region{};
    if (!address || !VirtualQuery(address, &region, sizeof region))
        return false;
    // Only a mapped image is a module; any other base would send getProc into arbitrary memory.
    if (region.Type != MEM_IMAGE || !region.AllocationBase)
        return false;
    module_ = region.AllocationBase;
    wchar_t path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module_), path, MAX_PATH);
    name_.set(reinterpret_cast<const char16_t*>(path), int32_t(length));
    return true;
}

void lib::unload()
{
    if (module_ && owned_)
        FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
    owned_ = false;
}

void* lib::findByName(const char* name) const
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), name));
}

void* lib::findByOrdinal(uint32_t ordinal) const
{
    return reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(module_), MAKEINTRESOURCEA(ordinal)));
}

} // namespace vcore
