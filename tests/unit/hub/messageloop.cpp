#include "hub/messageloop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(MessageLoop, QuitFromAnotherThreadEndsRun)
{
    hub::messageloop loop;
    std::thread other([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        hub::messageloop::quit();
    });
    loop.run();
    other.join();
}
