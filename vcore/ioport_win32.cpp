#include "vcore/ioport.h"

#include <windows.h>

namespace vcore {

void localNow(calendartime& calendar, uint64_t& fileTime)
{
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    calendar = calendartime{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    FILETIME ft{};
    ::SystemTimeToFileTime(&t, &ft);
    fileTime = (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

} // namespace vcore
