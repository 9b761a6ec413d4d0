#include "vnet/socketwatch.h"

#include <winsock2.h>

namespace vnet {

bool socketwatch::attach(sock::handle s)
{
    socket_ = s;
    if (s == sock::none)
        return false;
    return ::WSAEventSelect(SOCKET(s), HANDLE(wake_.native()), FD_READ | FD_ACCEPT | FD_CONNECT | FD_CLOSE) == 0;
}

socketwatch::outcome socketwatch::wait(unsigned, uint32_t ms, netEvents& out)
{
    out = {};
    DWORD result = ::WaitForSingleObject(HANDLE(wake_.native()), ms);
    if (result == WAIT_TIMEOUT)
        return outcome::timeOut;
    WSANETWORKEVENTS found{};
    if (socket_ == sock::none || ::WSAEnumNetworkEvents(SOCKET(socket_), HANDLE(wake_.native()), &found) != 0)
        return outcome::woken;
    out.connect = found.lNetworkEvents & FD_CONNECT;
    out.connectError = out.connect ? found.iErrorCode[FD_CONNECT_BIT] : 0;
    out.close = found.lNetworkEvents & FD_CLOSE;
    out.read = found.lNetworkEvents & FD_READ;
    out.accept = found.lNetworkEvents & FD_ACCEPT;
    bool any = out.connect || out.close || out.read || out.accept;
    return any ? outcome::events : outcome::woken;
}

// Winsock itself posts the next read notice after a receive.
void socketwatch::received(bool) {}

} // namespace vnet
