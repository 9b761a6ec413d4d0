#include "killer.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

namespace crash {
namespace {

using clock = std::chrono::steady_clock;
constexpr std::chrono::microseconds spinPart{300};

// The child says "starting" through the pipe, so the delay counts from the write, not the fork.
pid_t startChild(const std::function<bool()>& write, int& ready)
{
    int ends[2];
    if (pipe(ends) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        const char go = 'g';
        (void)!::write(ends[1], &go, 1);
        _exit(write() ? 0 : 1);
    }
    close(ends[1]);
    ready = ends[0];
    return pid;
}

bool awaitStart(int ready)
{
    char go = 0;
    ssize_t n;
    do
        n = read(ready, &go, 1);
    while (n < 0 && errno == EINTR);
    close(ready);
    return n == 1;
}

ending endingOf(int status, bool killedByUs)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status) == 0 ? ending::finished : ending::failed;
    return killedByUs && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? ending::killed : ending::failed;
}

} // namespace

std::optional<std::chrono::nanoseconds> killer::timeWhole(const std::function<bool()>& write)
{
    int ready = -1;
    const pid_t pid = startChild(write, ready);
    if (pid < 0 || !awaitStart(ready))
        return std::nullopt;
    const auto start = clock::now();
    int status = 0;
    waitpid(pid, &status, 0);
    const auto length = clock::now() - start;
    if (endingOf(status, false) != ending::finished)
        return std::nullopt;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(length);
}

ending killer::strike(const std::function<bool()>& write)
{
    const auto longest = window_ + window_ / 2;
    std::uniform_int_distribution<int64_t> pick(0, std::max<int64_t>(1, longest.count()));
    const std::chrono::nanoseconds delay(pick(random_));
    int ready = -1;
    const pid_t pid = startChild(write, ready);
    if (pid < 0)
        return ending::failed;
    const bool started = awaitStart(ready);
    // Sleep most of the delay (the writer needs the processor), spin the rest: a sleep alone
    // ends too late to hit the short steps.
    const auto until = clock::now() + delay;
    if (started && delay > 2 * spinPart)
        std::this_thread::sleep_for(delay - spinPart);
    while (started && clock::now() < until) {
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    const ending end = started ? endingOf(status, true) : ending::failed;
    // A staircase that keeps about one write in six finishing, however busy the machine gets.
    window_ = end == ending::finished ? window_ * 95 / 100 : window_ * 101 / 100;
    return end;
}

} // namespace crash
