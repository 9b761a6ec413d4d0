#include "vcore/lib.h"

namespace vcore {

lib::~lib()
{
    unload();
}

void* lib::getProc(const char16_t* nameOrOrdinal) const
{
    auto value = reinterpret_cast<uintptr_t>(nameOrOrdinal);
    if (value < ordinalLimit)
        return getProc(static_cast<uint32_t>(value));
    if (!module_)
        return nullptr;
    str narrowName(nameOrOrdinal);
    return findByName(narrowName.narrow());
}

void* lib::getProc(uint32_t ordinal) const
{
    if (!module_ || ordinal >= ordinalLimit)
        return nullptr;
    return findByOrdinal(ordinal);
}

} // namespace vcore
