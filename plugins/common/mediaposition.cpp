#include "plugins/common/mediaposition.h"

#include <algorithm>

#include "plugins/common/wholenumber.h"

namespace media {
namespace {

vcore::str shortForm(double elapsed)
{
    // An unknown (negative) time shows as the start rather than as "0:-1".
    const int32_t p = std::max(truncatedInt(elapsed), 0);
    vcore::str report;
    report.format(u"media.pos 0 %d:%02d", int(p / 60), int(p % 60));
    return report;
}

} // namespace

vcore::str positionReport(double elapsed, double length, const positionStyle& style)
{
    if (length < 1.0 && style.shortWithoutLength)
        return shortForm(elapsed);

    const double absolute = length < 1.0 ? 0.0 : elapsed * 100.0 / length;
    const double shown = style.clampElapsed ? std::clamp(elapsed, 0.0, std::max(length, 0.0)) : elapsed;
    const int32_t p = truncatedInt(shown);
    const int32_t l = truncatedInt(length);
    const int32_t r = int32_t(std::clamp<int64_t>(int64_t(l) - p, 0, INT32_MAX));
    vcore::str report;
    report.format(u"media.pos %.*f %d:%02d %d:%02d -%d:%02d", int(style.decimals), absolute,
                  int(p / 60), int(p % 60), int(l / 60), int(l % 60), int(r / 60), int(r % 60));
    return report;
}

} // namespace media
