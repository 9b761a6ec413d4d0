#include "hub/access/terminalprompt_posix.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "hub/access/printable.h"
#include "vcore/nativepath.h"

namespace hub {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Longer answers are neither yes nor no; only their first bytes are kept.
constexpr size_t maxAnswer = 16;

void writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

// Whether the terminal itself shows the user's Enter, ending the question's line.
bool echoesLines(int in)
{
    termios mode{};
    return tcgetattr(in, &mode) == 0 && (mode.c_lflag & ECHO) && (mode.c_lflag & ICANON);
}

// What arrives up to the first line end; false at the end of the input, time-out or cancel.
bool readLine(const terminalio& io, milliseconds limit, std::string& line)
{
    const auto deadline = steady_clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::ceil<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd watched[2] = {{io.in, POLLIN, 0}, {io.cancel, POLLIN, 0}};
        const int ready = poll(watched, 2, int(left));
        // A quiet poll may end a little early: the deadline decides.
        if (ready == 0 || (ready < 0 && errno == EINTR))
            continue;
        if (ready < 0 || watched[1].revents)
            return false;
        char bytes[256];
        const ssize_t got = read(io.in, bytes, sizeof bytes);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return false;
        for (ssize_t i = 0; i < got; ++i) {
            if (bytes[i] == '\n')
                return true;
            if (line.size() < maxAnswer)
                line += bytes[i];
        }
    }
}

bool saysYes(std::string text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text == "y" || text == "yes";
}

} // namespace

answer askOnTerminal(const terminalio& io, const vcore::str& question, linegate& gate, milliseconds limit)
{
    const std::string prompt = vcore::toNativePath(printable(question)) + " [y/N] ";
    gate.hold([&] {
        // Keys pressed before the question was shown must not answer it.
        if (isatty(io.in))
            tcflush(io.in, TCIFLUSH);
        std::fflush(stdout);
        writeAll(io.out, prompt);
    });
    std::string reply;
    const bool answered = readLine(io, limit, reply);
    if (!answered || !echoesLines(io.in))
        writeAll(io.out, "\n");
    gate.release();
    return answered && saysYes(reply) ? answer::yes : answer::no;
}

bool terminalIsOurs(int in)
{
    return isatty(in) && tcgetpgrp(in) == getpgrp();
}

} // namespace hub
