#include "support.h"

#include <cstdlib>
#include <cstring>
#include <winsock2.h>
#include <windows.h>

namespace nettest {

// Windows programs share the network of whoever starts them; a runner that starts this one
// (and, under Wine, its wineserver) in a network namespace of its own says so.
bool broadcastContained()
{
    const char* flag = std::getenv("TOLVANU_TEST_NETNS");
    return flag && std::strcmp(flag, "1") == 0;
}

double processCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto seconds = [](const FILETIME& t) {
        return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

bool nagleOff(vnet::sock::handle s)
{
    BOOL on = FALSE;
    int len = sizeof on;
    return getsockopt(SOCKET(s), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<char*>(&on), &len) == 0 && on;
}

} // namespace nettest
