#include "vcore/ioport.h"

#include <ctime>

namespace vcore {

void localNow(calendartime& calendar, uint64_t& fileTime)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    calendar = calendartime{uint16_t(local.tm_year + 1900), uint16_t(local.tm_mon + 1),
                            uint16_t(local.tm_wday),        uint16_t(local.tm_mday),
                            uint16_t(local.tm_hour),        uint16_t(local.tm_min),
                            uint16_t(local.tm_sec),         uint16_t(now.tv_nsec / 1000000)};
    // Seconds between 1601-01-01 and 1970-01-01.
    constexpr int64_t epochGap = 11644473600;
    int64_t seconds = int64_t(now.tv_sec) + local.tm_gmtoff + epochGap;
    fileTime = uint64_t(seconds) * 10000000u + uint64_t(now.tv_nsec / 100);
}

} // namespace vcore
