#include "vcore/lib.h"

#include <dlfcn.h>
#include <link.h>

#include "vcore/nativepath.h"

namespace vcore {

bool lib::load(const char16_t* path, bool keepLoaded)
{
    unload();
    name_.set(path);
    if (!path)
        return false;
    module_ = dlopen(toNativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    owned_ = module_ && !keepLoaded;
    return module_ != nullptr;
}

bool lib::attachByAddress(const void* address)
{
    unload();
    Dl_info info{};
    link_map* map = nullptr;
    if (!address || !dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map)
        return false;
    // The main program has an empty name in the link map and is reached by a null path.
    bool mainProgram = !map->l_name || !map->l_name[0];
    void* handle = dlopen(mainProgram ? nullptr : map->l_name, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return false;
    // Adopted, not owned: drop the reference NOLOAD took, as the module's owner keeps it loaded.
    dlclose(handle);
    module_ = handle;
    name_ = fromNativePath(mainProgram ? "" : map->l_name);
    return true;
}

void lib::unload()
{
    if (module_ && owned_)
        dlclose(module_);
    module_ = nullptr;
    owned_ = false;
}

void* lib::findByName(const char* name) const
{
    return dlsym(module_, name);
}

void* lib::findByOrdinal(uint32_t) const
{
    return nullptr;
}

} // namespace vcore
