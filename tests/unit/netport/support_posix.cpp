#include "support.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nettest {
namespace {

bool bringLoopbackUp(int s)
{
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    if (ioctl(s, SIOCGIFFLAGS, &request) != 0)
        return false;
    request.ifr_flags |= IFF_UP | IFF_RUNNING;
    return ioctl(s, SIOCSIFFLAGS, &request) == 0;
}

// A default route through loopback: 255.255.255.255 then loops back instead of failing.
bool routeThroughLoopback(int s)
{
    rtentry route{};
    auto* any = reinterpret_cast<sockaddr_in*>(&route.rt_dst);
    any->sin_family = AF_INET;
    reinterpret_cast<sockaddr_in*>(&route.rt_genmask)->sin_family = AF_INET;
    route.rt_flags = RTF_UP;
    char device[] = "lo";
    route.rt_dev = device;
    return ioctl(s, SIOCADDRT, &route) == 0;
}

// Runs the whole test program in a network namespace of its own, so that broadcasts and
// fixed port numbers touch nothing outside it. The namespace ends with the program.
bool enterOwnNetwork()
{
    if (unshare(CLONE_NEWNET) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0)
        return false;
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    bool ok = s >= 0 && bringLoopbackUp(s) && routeThroughLoopback(s);
    if (s >= 0)
        ::close(s);
    // This host's own address beyond loopback, on a veth pair inside the namespace.
    if (ok)
        (void)std::system("ip link add tvn0 type veth peer name tvn1 >/dev/null 2>&1 &&"
                          " ip addr add 10.77.0.1/24 dev tvn0 && ip link set tvn1 up && ip link set tvn0 up");
    return ok;
}

const bool ownNetwork = enterOwnNetwork();

} // namespace

bool broadcastContained()
{
    return ownNetwork;
}

double processCpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

bool nagleOff(vnet::sock::handle s)
{
    int on = 0;
    socklen_t len = sizeof on;
    return getsockopt(int(s), IPPROTO_TCP, TCP_NODELAY, &on, &len) == 0 && on != 0;
}

} // namespace nettest
