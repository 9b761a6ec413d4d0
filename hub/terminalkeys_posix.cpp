#include "hub/terminalkeys.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "hub/access/terminalprompt_posix.h"
#include "hub/consolekeys.h"
#include "hub/rawterminal_posix.h"

namespace hub {

struct terminalkeys::impl {
    impl(menuactions& a, linegate& q) : actions(a), questions(q), keys(a) {}

    bool start();
    void stop();
    void run();
    // Under the gate's lock: the reader stands aside while a question has the terminal.
    void questionTurn(bool open);
    // What stdin holds now; false when the reader should end (end of input, stop).
    bool takeKeys(std::string& got);

    menuactions& actions;
    linegate& questions;
    consolekeys keys;
    rawterminal raw;
    std::thread reader;
    int stopPipe[2] = {-1, -1};
    std::mutex lock;  // held while reading stdin, so a question never loses a key to the reader
    std::condition_variable turned;
    bool questionOpen = false;
    bool stopping = false;
};

bool terminalkeys::impl::start()
{
    if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    if (!raw.enter(STDIN_FILENO))
        return false;
    questions.watch([this](bool open) { questionTurn(open); });
    actions.print(consolekeys::help());
    reader = std::thread([this] { run(); });
    return true;
}

void terminalkeys::impl::stop()
{
    questions.watch(nullptr);
    {
        std::lock_guard<std::mutex> hold(lock);
        stopping = true;
    }
    turned.notify_all();
    if (stopPipe[1] >= 0) {
        const char byte = 1;
        const ssize_t ignored = write(stopPipe[1], &byte, 1);
        (void)ignored;
    }
    if (reader.joinable())
        reader.join();
    raw.leave();
    for (int& fd : stopPipe) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void terminalkeys::impl::questionTurn(bool open)
{
    {
        std::lock_guard<std::mutex> hold(lock);
        questionOpen = open;
        if (open)
            raw.suspend();
        else
            raw.resume();
    }
    turned.notify_all();
}

void terminalkeys::impl::run()
{
    std::string got;
    while (takeKeys(got)) {
        keys.feed(got);
        got.clear();
    }
}

bool terminalkeys::impl::takeKeys(std::string& got)
{
    using namespace std::chrono_literals;
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(lock);
            turned.wait(hold, [this] { return stopping || !questionOpen; });
            if (stopping)
                return false;
        }
        pollfd watched[2] = {{STDIN_FILENO, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        const int ready = poll(watched, 2, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0 || watched[1].revents)
            return false;
        std::unique_lock<std::mutex> hold(lock);
        if (stopping)
            return false;
        if (questionOpen)
            continue;
        // In the background a read would stop the hub: wait until it is in front again.
        if (!terminalIsOurs(STDIN_FILENO)) {
            turned.wait_for(hold, 200ms);
            continue;
        }
        // What poll saw may have gone to a question meanwhile: a blocking read here would hold
        // the lock, and with it stop(), until the next key.
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (poll(&input, 1, 0) <= 0 || !(input.revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char bytes[64];
        const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        got.assign(bytes, size_t(n));
        return true;
    }
}

terminalkeys::terminalkeys(menuactions& actions, linegate& questions)
{
    if (!terminalIsOurs(STDIN_FILENO))
        return;
    auto keys = std::make_unique<impl>(actions, questions);
    if (!keys->start()) {
        keys->stop();
        return;
    }
    impl_ = std::move(keys);
}

terminalkeys::~terminalkeys()
{
    if (impl_)
        impl_->stop();
}

} // namespace hub
