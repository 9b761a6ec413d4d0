#include "hub/notice.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "vcore/nativepath.h"

extern char** environ;

namespace hub {

namespace {

bool displayPresent()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

// zenity may be missing; the line on stderr is then all the user gets.
void showDialog(const std::string& text, const std::string& caption)
{
    std::string title = "--title=" + caption;
    std::string body = "--text=" + text;
    char program[] = "zenity";
    char kind[] = "--info";
    char plain[] = "--no-markup";
    char* argv[] = {program, kind, plain, title.data(), body.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0)
        return;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

void showNotice(const vcore::str& text, const vcore::str& caption)
{
    const std::string message = vcore::toNativePath(text);
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    if (displayPresent())
        showDialog(message, vcore::toNativePath(caption));
}

} // namespace hub
