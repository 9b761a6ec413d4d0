#include "vnet/socketwatch.h"

#include <poll.h>

namespace vnet {
namespace {

short pollFlags(unsigned interests)
{
    short flags = 0;
    if (interests & (socketwatch::wantRead | socketwatch::wantAccept))
        flags |= POLLIN;
    if (interests & socketwatch::wantConnect)
        flags |= POLLOUT;
    if (interests & socketwatch::wantClose)
        flags |= POLLRDHUP;
    return flags;
}

void translate(unsigned interests, short revents, sock::handle s, netEvents& out)
{
    const bool failed = revents & (POLLERR | POLLHUP);
    if (interests & socketwatch::wantConnect) {
        if (revents & (POLLOUT | POLLERR | POLLHUP)) {
            out.connect = true;
            out.connectError = sock::takeError(s);
        }
        return;
    }
    if (interests & socketwatch::wantAccept) {
        out.accept = revents & POLLIN;
        return;
    }
    if (interests & socketwatch::wantClose)
        out.close = (revents & POLLRDHUP) || failed;
    else if (failed)
        sock::takeError(s);  // a datagram socket's stray error; reading it clears it
    out.read = (interests & socketwatch::wantRead) && (revents & POLLIN) && !out.close;
}

} // namespace

bool socketwatch::attach(sock::handle s)
{
    socket_ = s;
    readArmed_ = true;
    return s != sock::none;
}

socketwatch::outcome socketwatch::wait(unsigned interests, uint32_t ms, netEvents& out)
{
    out = {};
    if (!readArmed_.load(std::memory_order_acquire))
        interests &= ~unsigned(wantRead);
    pollfd fds[2] = {{wake_.native(), POLLIN, 0}, {-1, 0, 0}};
    short flags = pollFlags(interests);
    if (socket_ != sock::none && flags != 0)
        fds[1] = {int(socket_), flags, 0};
    int ready = ::poll(fds, 2, ms > 0x7FFFFFFF ? -1 : int(ms));
    if (ready == 0)
        return outcome::timeOut;
    if (ready < 0)
        return outcome::woken;
    if (fds[0].revents)
        wake_.reset();
    if (fds[1].revents)
        translate(interests, fds[1].revents, socket_, out);
    if (out.read)
        readArmed_.store(false, std::memory_order_release);
    bool any = out.connect || out.close || out.read || out.accept;
    return any ? outcome::events : outcome::woken;
}

void socketwatch::received(bool onWorker)
{
    if (!readArmed_.exchange(true, std::memory_order_acq_rel) && !onWorker)
        wake_.set();
}

} // namespace vnet
