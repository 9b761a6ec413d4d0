#include "scratch.h"

vcore::str scratchRegistry::path(const char16_t* below) const
{
    vcore::str result(u"HKEY_CURRENT_USER\\");
    result.append(base_);
    if (below) {
        result.append(u'\\');
        result.append(below);
    }
    return result;
}
