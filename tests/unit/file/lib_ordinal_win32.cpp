#include <gtest/gtest.h>

#include "scratch.h"
#include "vcore/lib.h"

TEST(LibOrdinal, SmallValuesAreOrdinals)
{
    vcore::lib l;
    ASSERT_TRUE(l.load(filetest::testLibrary().c_str()));
    void* byName = l.getProc(u"file_testlib_answer");
    ASSERT_NE(nullptr, byName);
    EXPECT_EQ(byName, l.getProc(5u));
    // Passed as a text pointer, a value below 0x40000 is an ordinal all the same.
    EXPECT_EQ(byName, l.getProc(reinterpret_cast<const char16_t*>(uintptr_t(5))));
    EXPECT_EQ(nullptr, l.getProc(6u));
}
