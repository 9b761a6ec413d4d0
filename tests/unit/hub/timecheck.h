#pragma once
#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>

// Seconds between a "dd.mm.yyyy hh:mm:ss" UTC text and now; -1 when the text has another form.
inline long secondsFromNow(const std::string& text)
{
    std::smatch m;
    if (!std::regex_match(text, m, std::regex(R"((\d\d)\.(\d\d)\.(\d{4}) (\d\d):(\d\d):(\d\d))")))
        return -1;
    // Days since 1970-01-01 of a civil date (H. Hinnant's algorithm).
    const auto days = [](long y, long mo, long d) {
        y -= mo <= 2;
        const long era = (y >= 0 ? y : y - 399) / 400;
        const long yoe = y - era * 400;
        const long doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        return era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
    };
    const long stamp = days(std::stol(m[3]), std::stol(m[2]), std::stol(m[1])) * 86400 + std::stol(m[4]) * 3600 +
                       std::stol(m[5]) * 60 + std::stol(m[6]);
    return std::labs(long(std::time(nullptr)) - stamp);
}
