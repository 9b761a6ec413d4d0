#pragma once
#include <cmath>
#include <cstdint>

// Real to whole number, truncated toward zero; saturates instead of overflowing, NaN gives 0.
namespace media {

inline int32_t truncatedInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return INT32_MAX;
    if (value <= -2147483648.0)
        return INT32_MIN;
    return int32_t(value);
}

} // namespace media
