#include "hub/rawterminal_posix.h"

#include <pthread.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>

namespace hub {

namespace {

// Shared with the signal handlers, which may only read them.
int terminalFd = -1;
termios savedMode{};
termios keyMode{};
volatile sig_atomic_t inKeyMode = 0;
std::atomic<bool> taken{false};

constexpr int fatalSignals[] = {SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL};
struct sigaction previous[sizeof fatalSignals / sizeof fatalSignals[0]];
struct sigaction previousStop{};

int slotOf(int signal)
{
    for (int i = 0; i < int(sizeof fatalSignals / sizeof fatalSignals[0]); ++i)
        if (fatalSignals[i] == signal)
            return i;
    return -1;
}

bool inForeground() { return tcgetpgrp(terminalFd) == getpgrp(); }

// The previous action gets the signal: a fault recurs on return, a sent signal is sent again.
void onFatal(int signal, siginfo_t* info, void*)
{
    tcsetattr(terminalFd, TCSANOW, &savedMode);
    const int slot = slotOf(signal);
    if (slot >= 0)
        sigaction(signal, &previous[slot], nullptr);
    const bool fault = info && info->si_code > 0 && signal != SIGQUIT && signal != SIGABRT;
    if (!fault)
        raise(signal);
}

void onStop(int)
{
    tcsetattr(terminalFd, TCSANOW, &savedMode);
    struct sigaction action{};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    struct sigaction ours{};
    sigaction(SIGTSTP, &action, &ours);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    raise(SIGTSTP);
    // Continued: single keys again, unless the shell put us in the background.
    sigaction(SIGTSTP, &ours, nullptr);
    if (inKeyMode && inForeground())
        tcsetattr(terminalFd, TCSANOW, &keyMode);
}

void install()
{
    struct sigaction action{};
    action.sa_sigaction = onFatal;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < int(sizeof fatalSignals / sizeof fatalSignals[0]); ++i)
        sigaction(fatalSignals[i], &action, &previous[i]);
    struct sigaction stop{};
    stop.sa_handler = onStop;
    stop.sa_flags = SA_RESTART;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTSTP, &stop, &previousStop);
}

void uninstall()
{
    for (int i = 0; i < int(sizeof fatalSignals / sizeof fatalSignals[0]); ++i)
        sigaction(fatalSignals[i], &previous[i], nullptr);
    sigaction(SIGTSTP, &previousStop, nullptr);
}

} // namespace

bool rawterminal::enter(int fd)
{
    if (entered_ || !isatty(fd) || taken.exchange(true))
        return false;
    termios mode{};
    if (tcgetattr(fd, &mode) != 0) {
        taken = false;
        return false;
    }
    terminalFd = fd;
    savedMode = mode;
    keyMode = mode;
    keyMode.c_lflag &= tcflag_t(~(ICANON | ECHO));
    keyMode.c_cc[VMIN] = 1;
    keyMode.c_cc[VTIME] = 0;
    install();
    entered_ = true;
    resume();
    return true;
}

namespace {

// From the background a mode change would stop the whole hub (SIGTTOU) unless this thread
// holds the signal back meanwhile.
void setModeAnywhere(const termios& wanted)
{
    sigset_t ttou, before;
    sigemptyset(&ttou);
    sigaddset(&ttou, SIGTTOU);
    pthread_sigmask(SIG_BLOCK, &ttou, &before);
    tcsetattr(terminalFd, TCSANOW, &wanted);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

} // namespace

void rawterminal::suspend()
{
    if (!entered_)
        return;
    inKeyMode = 0;
    setModeAnywhere(savedMode);
}

void rawterminal::resume()
{
    if (!entered_)
        return;
    inKeyMode = 1;
    setModeAnywhere(keyMode);
}

void rawterminal::leave()
{
    if (!entered_)
        return;
    suspend();
    uninstall();
    entered_ = false;
    terminalFd = -1;
    taken = false;
}

} // namespace hub
