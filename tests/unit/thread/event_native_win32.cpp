// Win32 events: the handle the system waits on, and names shared between holders.
#include <gtest/gtest.h>

#include <windows.h>

#include "vcore/event.h"

namespace {

TEST(EventWin32, HandleIsSignalledWhileSet)
{
    vcore::event e(true, false);
    ASSERT_NE(e.native(), nullptr);
    EXPECT_EQ(::WaitForSingleObject(e.native(), 0), WAIT_TIMEOUT);
    e.set();
    EXPECT_EQ(::WaitForSingleObject(e.native(), 0), WAIT_OBJECT_0);
}

TEST(EventWin32, NamedEventIsSharedAndKnownToExist)
{
    const char16_t* name = u"Tolvanu_test_named_event";
    vcore::event first(false, false, name);
    ASSERT_TRUE(first.valid());
    EXPECT_FALSE(first.alreadyExisted());
    vcore::event second(false, false, name);
    ASSERT_TRUE(second.valid());
    EXPECT_TRUE(second.alreadyExisted());
    first.set();
    EXPECT_TRUE(second.wait(0));
    EXPECT_FALSE(first.wait(0));
}

} // namespace
