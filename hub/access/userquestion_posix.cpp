#include "hub/access/userquestion.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>

#include "hub/access/terminalprompt_posix.h"
#include "hub/access/zenityquestion_posix.h"

namespace hub {

struct userquestion::impl {
    explicit impl(linegate& gate) : terminal(gate)
    {
        if (pipe2(cancel, O_CLOEXEC | O_NONBLOCK) != 0)
            cancel[0] = cancel[1] = -1;
    }
    ~impl()
    {
        for (int fd : cancel)
            if (fd >= 0)
                close(fd);
    }

    linegate& terminal;
    // Readable for good once cancelled, which ends a question waiting now and every later one.
    int cancel[2] = {-1, -1};
    std::atomic<bool> cancelled{false};
};

userquestion::userquestion(linegate& terminal) : impl_(std::make_unique<impl>(terminal)) {}

userquestion::~userquestion() = default;

answer userquestion::ask(const vcore::str& question)
{
    if (impl_->cancelled)
        return answer::no;
    const std::chrono::milliseconds limit(answerWaitMs);
    if (terminalIsOurs(STDIN_FILENO))
        return askOnTerminal({STDIN_FILENO, STDOUT_FILENO, impl_->cancel[0]}, question, impl_->terminal, limit);
    if (displayPresent())
        return askWithZenity(question, impl_->cancel[0], limit);
    return answer::unasked;
}

void userquestion::cancel()
{
    impl_->cancelled = true;
    const char byte = 1;
    const ssize_t ignored = write(impl_->cancel[1], &byte, 1);
    (void)ignored;
}

} // namespace hub
