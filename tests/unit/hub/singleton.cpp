#include "hub/singleton.h"

#include <gtest/gtest.h>

#include <optional>

#include "profile.h"

TEST(Singleton, OnlyTheFirstHolderIsFirstUntilItEnds)
{
    scratchProfile profile;
    std::optional<hub::singleton> running(std::in_place);
    EXPECT_TRUE(running->first());
    {
        const hub::singleton second;
        EXPECT_FALSE(second.first());
    }
    {
        const hub::singleton third;
        EXPECT_FALSE(third.first()) << "the second copy ending frees nothing";
    }
    running.reset();
    const hub::singleton next;
    EXPECT_TRUE(next.first());
}
