// The master volume: the value last set or reported, and the device behind it.
#include "plugins/system/systemservice.h"

namespace systemctl {

void systemService::changeVolume(double value, bool add)
{
    if (!lock_.wait(lockWaitMs))
        return;
    const double wanted = add ? current_ + value : value;
    current_ = wanted;
    // Out-of-range values are the device's to refuse; the next poll puts the truth back.
    pc_.writeVolume(float(wanted / 100.0));
    lock_.release();
}

void systemService::lockedReport(bool forced)
{
    if (!lock_.wait(lockWaitMs))
        return;
    reportVolume(forced);
    lock_.release();
}

void systemService::reportVolume(bool forced)
{
    float level = -1.0f;
    float read = 0.0f;
    if (pc_.readVolume(read))
        level = read;
    const double percent = double(level) * 100.0;
    if (!forced && percent == current_)
        return;
    current_ = percent;
    out_.report(vcore::str::formatted(u"system.volume %.1f", percent), true);
}

} // namespace systemctl
