#include "vcore/event.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace vcore {
namespace {

// The time left of a wait, in the form poll() takes.
class deadline {
public:
    explicit deadline(uint32_t ms)
        : endless_(ms == infinite), end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}

    int left() const
    {
        if (endless_)
            return -1;
        auto rest = std::chrono::ceil<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now()).count();
        return rest <= 0 ? 0 : rest > INT_MAX ? INT_MAX : int(rest);
    }
    bool passed() const { return !endless_ && std::chrono::steady_clock::now() >= end_; }

private:
    bool endless_;
    std::chrono::steady_clock::time_point end_;
};

// Polls fds for readability; false on time-out or interruption.
bool pollReadable(pollfd* fds, int count, int ms)
{
    for (int i = 0; i < count; ++i) {
        fds[i].events = POLLIN;
        fds[i].revents = 0;
    }
    return ::poll(fds, nfds_t(count), ms) > 0;
}

} // namespace

event::event(bool manualReset, bool initiallySet, const char16_t*)
    : handle_(::eventfd(initiallySet ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC)), manual_(manualReset),
      signalled_(initiallySet)
{
}

event::~event()
{
    if (handle_ >= 0)
        ::close(handle_);
}

bool event::valid() const
{
    return handle_ >= 0;
}

void event::set()
{
    if (handle_ < 0)
        return;
    std::lock_guard<std::mutex> hold(setting_);
    if (signalled_)
        return;
    uint64_t one = 1;
    ssize_t put;
    while ((put = ::write(handle_, &one, sizeof one)) < 0 && errno == EINTR) {
    }
    signalled_ = put == ssize_t(sizeof one);
}

void event::reset()
{
    if (handle_ < 0)
        return;
    std::lock_guard<std::mutex> hold(setting_);
    if (!signalled_)
        return;
    uint64_t count;
    while (::read(handle_, &count, sizeof count) < 0 && errno == EINTR) {
    }
    signalled_ = false;
}

bool event::take()
{
    // Also orders this after the set() that was seen.
    std::lock_guard<std::mutex> hold(setting_);
    if (manual_)
        return true;
    uint64_t count;
    ssize_t got;
    while ((got = ::read(handle_, &count, sizeof count)) < 0 && errno == EINTR) {
    }
    if (got != ssize_t(sizeof count))
        return false;
    signalled_ = false;
    return true;
}

bool event::wait(uint32_t ms)
{
    if (handle_ < 0)
        return false;
    deadline limit(ms);
    for (;;) {
        pollfd fd{handle_, 0, 0};
        if (pollReadable(&fd, 1, limit.left()) && take())
            return true;
        if (limit.passed())
            return false;
    }
}

int waitAny(event& a, event& b, uint32_t ms)
{
    if (!a.valid() || !b.valid())
        return -1;
    deadline limit(ms);
    for (;;) {
        pollfd fds[2] = {{a.handle_, 0, 0}, {b.handle_, 0, 0}};
        if (pollReadable(fds, 2, limit.left())) {
            if ((fds[0].revents & POLLIN) && a.take())
                return 0;
            if ((fds[1].revents & POLLIN) && b.take())
                return 1;
        }
        if (limit.passed())
            return -1;
    }
}

} // namespace vcore
