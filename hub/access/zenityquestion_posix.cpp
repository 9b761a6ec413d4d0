#include "hub/access/zenityquestion_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "hub/access/printable.h"
#include "hub/access/questiontext.h"
#include "vcore/nativepath.h"

extern char** environ;

namespace hub {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The exit status of a child that could not run its program.
constexpr int notRun = 127;

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

pid_t startZenity(const vcore::str& question)
{
    std::string title = "--title=" + vcore::toNativePath(questionCaption);
    std::string text = "--text=" + vcore::toNativePath(printable(question));
    char program[] = "zenity";
    char kind[] = "--question";
    char plain[] = "--no-markup";
    char* argv[] = {program, kind, plain, title.data(), text.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The dialog has nothing to read, and nothing to say on the hub's log.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? 0 : child;
}

// The child's exit status once it ended by itself; -1 when it was ended for the time-out or cancel.
int waitForAnswer(pid_t child, int cancel, milliseconds limit)
{
    const auto deadline = steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (ended < 0 && errno != EINTR)
            return -1;
        pollfd watched{cancel, POLLIN, 0};
        const bool cancelled = poll(&watched, 1, 50) > 0 && watched.revents;
        if (cancelled || steady_clock::now() >= deadline)
            break;
    }
    kill(child, SIGTERM);
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return -1;
}

} // namespace

answer askWithZenity(const vcore::str& question, int cancel, milliseconds limit)
{
    const pid_t child = startZenity(question);
    if (child == 0)
        return answer::unasked;
    const int status = waitForAnswer(child, cancel, limit);
    if (status == notRun)
        return answer::unasked;
    return status == 0 ? answer::yes : answer::no;
}

bool displayPresent()
{
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

} // namespace hub
