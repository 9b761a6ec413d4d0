#include "hub/host/nametext.h"

#include "vcore/strchars.h"

namespace hub {

bool sameName(vcore::strview a, vcore::strview b)
{
    if (a.length() != b.length())
        return false;
    for (int32_t i = 0; i < a.length(); ++i)
        if (vcore::chars::lower(a[i]) != vcore::chars::lower(b[i]))
            return false;
    return true;
}

bool sameName(const char16_t* a, const char16_t* b)
{
    return sameName(vcore::strview(a, vcore::chars::length(a)), vcore::strview(b, vcore::chars::length(b)));
}

} // namespace hub
