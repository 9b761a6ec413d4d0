#include "plugins/system/wheelsteps.h"

#include <algorithm>

namespace systemctl {

int32_t wheelSteps::clicks(int32_t data)
{
    const int64_t total = int64_t(remainder_) + data;
    const int64_t whole = total / notch;
    remainder_ = int32_t(total % notch);
    return int32_t(std::clamp<int64_t>(whole, -maxClicks, maxClicks));
}

} // namespace systemctl
