#pragma once
#include <cstdint>

namespace vcore {

// A moment broken down into calendar fields, laid out like the system's SYSTEMTIME.
struct calendartime {
    uint16_t year = 0;
    uint16_t month = 0;       // 1..12
    uint16_t dayOfWeek = 0;   // 0 = Sunday
    uint16_t day = 0;         // 1..31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t millisecond = 0;

    bool operator==(const calendartime&) const = default;
};

} // namespace vcore
