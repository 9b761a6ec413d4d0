#include "plugins/common/mediaargs.h"

#include <cmath>

namespace media {

int32_t argumentInt(const vcore::str& argument)
{
    return argument.toInt();
}

double argumentReal(const vcore::str& argument)
{
    const double value = argument.toReal();
    return std::isfinite(value) ? value : 0.0;
}

int32_t switchArgument(int32_t argument, int32_t current)
{
    if (argument < 0)
        return current ? 0 : 1;
    return argument ? 1 : 0;
}

} // namespace media
