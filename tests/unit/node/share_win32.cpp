#include <winsock2.h>

#include "peer.h"

namespace nodetest {

bool sharePort(vnet::sock::handle s)
{
    BOOL on = TRUE;
    return setsockopt(SOCKET(s), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

} // namespace nodetest
