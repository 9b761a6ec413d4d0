// The hub's tests open the discovery port and broadcast on it: they get a network of their own
// when they may, so that nothing leaves this host and no other test's port is in the way.
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace {

bool enterOwnNetwork()
{
    if (unshare(CLONE_NEWNET) != 0)
        return false;
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0)
        return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ioctl(s, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags |= IFF_UP | IFF_RUNNING;
    up = up && ioctl(s, SIOCSIFFLAGS, &request) == 0;
    close(s);
    return up;
}

[[maybe_unused]] const bool ownNetwork = enterOwnNetwork();

} // namespace
