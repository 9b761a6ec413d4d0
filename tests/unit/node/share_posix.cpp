#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <net/if.h>
#include <unistd.h>

#include <cstring>

#include "peer.h"

namespace nodetest {
namespace {

// The test program gets a network of its own when it may, so that the node's broadcasts
// stay on this host; loopback is all it needs.
bool enterOwnNetwork()
{
    if (unshare(CLONE_NEWNET) != 0)
        return false;
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0)
        return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ioctl(s, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP | IFF_RUNNING;
    up = up && ioctl(s, SIOCSIFFLAGS, &request) == 0;
    ::close(s);
    return up;
}

[[maybe_unused]] const bool ownNetwork = enterOwnNetwork();

} // namespace

bool sharePort(vnet::sock::handle s)
{
    int on = 1;
    return setsockopt(int(s), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0;
}

} // namespace nodetest
