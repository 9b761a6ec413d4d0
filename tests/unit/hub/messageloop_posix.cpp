#include <gtest/gtest.h>
#include <signal.h>

#include "hub/messageloop.h"

namespace {

bool defaultAction(int signal)
{
    struct sigaction current{};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}

TEST(MessageLoop, StopSignalsEndTheLoopInsteadOfTheProcess)
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        hub::messageloop loop;
        EXPECT_FALSE(defaultAction(signal));
        // Raised before run(), as during start-up: run() still ends at once.
        raise(signal);
        loop.run();
        EXPECT_TRUE(defaultAction(signal)) << "a second signal during shutdown ends the process";
    }
}

} // namespace
