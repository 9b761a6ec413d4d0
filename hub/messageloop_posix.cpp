#include "hub/messageloop.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace hub {

namespace {

// quit() and the signal handler wake run() through this pipe: one write is all a handler may do.
int wake[2] = {-1, -1};
constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void wakeUp()
{
    const char byte = 1;
    const ssize_t ignored = write(wake[1], &byte, 1);
    (void)ignored;
}

void onStopSignal(int) { wakeUp(); }

// A second Ctrl-C during a stuck shutdown ends the process as usual.
void defaultActions()
{
    for (int signal : stopSignals)
        ::signal(signal, SIG_DFL);
}

} // namespace

messageloop::messageloop()
{
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action{};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : stopSignals)
        sigaction(signal, &action, nullptr);
    // Log lines into a closed pipe must not end the hub before it saved its settings.
    ::signal(SIGPIPE, SIG_IGN);
}

messageloop::~messageloop()
{
    defaultActions();
    for (int& fd : wake) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void messageloop::run()
{
    pollfd woken{wake[0], POLLIN, 0};
    while (woken.fd >= 0 && poll(&woken, 1, -1) < 0 && errno == EINTR) {
    }
    char drained[64];
    while (read(wake[0], drained, sizeof drained) > 0) {
    }
    defaultActions();
}

void messageloop::quit() { wakeUp(); }

// Nothing queues up on Linux.
void messageloop::dispatchPending(uint32_t) {}

} // namespace hub
