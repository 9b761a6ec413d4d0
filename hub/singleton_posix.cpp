#include "hub/singleton.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "vcore/xdgdirs_posix.h"

namespace hub {

namespace {

// $XDG_RUNTIME_DIR/tolvanu.lock; without one, a per-user file in /tmp.
std::string markerPath()
{
    const std::string runtime = vcore::xdg::runtimeDir();
    if (!runtime.empty())
        return runtime + "/tolvanu.lock";
    return "/tmp/tolvanu-" + std::to_string(getuid()) + ".lock";
}

} // namespace

// The lock goes with the process, however it ends.
singleton::singleton()
{
    const int fd = open(markerPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    handle_ = fd;
    if (fd < 0)
        return;
    int rc;
    while ((rc = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    first_ = rc == 0 || errno != EWOULDBLOCK;
}

singleton::~singleton()
{
    if (handle_ >= 0)
        close(int(handle_));
}

} // namespace hub
