// The descriptor behind an event is what a port's worker polls beside its socket.
#include <gtest/gtest.h>

#include <poll.h>

#include "vcore/event.h"

namespace {

bool readable(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

TEST(EventPosix, DescriptorIsReadableWhileSet)
{
    vcore::event e(true, false);
    ASSERT_GE(e.native(), 0);
    EXPECT_FALSE(readable(e.native()));
    e.set();
    EXPECT_TRUE(readable(e.native()));
    EXPECT_TRUE(e.wait(0));
    EXPECT_TRUE(readable(e.native()));
    e.reset();
    EXPECT_FALSE(readable(e.native()));
}

TEST(EventPosix, AutoResetWaitConsumesTheDescriptor)
{
    vcore::event e(false, true);
    EXPECT_TRUE(readable(e.native()));
    EXPECT_TRUE(e.wait(0));
    EXPECT_FALSE(readable(e.native()));
}

} // namespace
