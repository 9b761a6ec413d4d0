// The terminal in single-key mode and back, also when the process dies of a signal.
#include <gtest/gtest.h>

#include <pty.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "hub/rawterminal_posix.h"

namespace {

class RawTerminal : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, openpty(&user, &tty, nullptr, nullptr, nullptr)); }
    void TearDown() override
    {
        close(user);
        close(tty);
    }
    tcflag_t lineFlags() const
    {
        termios mode{};
        tcgetattr(tty, &mode);
        return mode.c_lflag & (ICANON | ECHO | ISIG);
    }

    int user = -1;
    int tty = -1;
};

TEST_F(RawTerminal, SingleKeysUntilLeftAndLinesWhileSuspended)
{
    const tcflag_t before = lineFlags();
    ASSERT_EQ(tcflag_t(ICANON | ECHO | ISIG), before);
    hub::rawterminal raw;
    ASSERT_TRUE(raw.enter(tty));
    EXPECT_EQ(tcflag_t(ISIG), lineFlags()) << "Ctrl-C still stops the hub in order";
    hub::rawterminal second;
    EXPECT_FALSE(second.enter(tty)) << "one at a time";
    raw.suspend();
    EXPECT_EQ(before, lineFlags());
    raw.resume();
    EXPECT_EQ(tcflag_t(ISIG), lineFlags());
    raw.leave();
    EXPECT_EQ(before, lineFlags());
    EXPECT_TRUE(second.enter(tty));
}

TEST_F(RawTerminal, NoTerminalNoKeys)
{
    int fds[2];
    ASSERT_EQ(0, pipe(fds));
    hub::rawterminal raw;
    EXPECT_FALSE(raw.enter(fds[0]));
    close(fds[0]);
    close(fds[1]);
}

// A child in single-key mode dies of each signal (the last a real fault); the terminal is as it
// was after.
TEST_F(RawTerminal, AFatalSignalPutsTheTerminalBack)
{
    const tcflag_t before = lineFlags();
    for (int signal : {SIGABRT, SIGQUIT, SIGSEGV}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            hub::rawterminal raw;
            if (!raw.enter(tty))
                _exit(3);
            if (signal == SIGSEGV) {
                void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
                *static_cast<volatile int*>(page) = 1;
            }
            raise(signal);
            _exit(4);
        }
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        // A sanitizer takes over the fault and ends the child its own way (an exit status or
        // an abort).
        ASSERT_FALSE(WIFEXITED(status) && (WEXITSTATUS(status) == 3 || WEXITSTATUS(status) == 4))
            << "signal " << signal << " did not end the child";
        if (signal != SIGSEGV) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        }
        EXPECT_EQ(before, lineFlags()) << "after signal " << signal;
    }
}

} // namespace
