#include "hub/singleton.h"

#include <windows.h>

namespace hub {

namespace {
constexpr const wchar_t* markerName = L"Tolvanu_singleton";
}

singleton::singleton()
{
    HANDLE marker = OpenEventW(EVENT_ALL_ACCESS, FALSE, markerName);
    if (marker) {
        first_ = false;
    } else {
        // Two copies starting at once both miss the open; only one of them creates the event.
        marker = CreateEventW(nullptr, FALSE, FALSE, markerName);
        first_ = !(marker && GetLastError() == ERROR_ALREADY_EXISTS);
    }
    handle_ = reinterpret_cast<intptr_t>(marker);
}

singleton::~singleton()
{
    if (handle_)
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

} // namespace hub
