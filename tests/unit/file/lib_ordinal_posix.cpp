#include <gtest/gtest.h>

#include "scratch.h"
#include "vcore/lib.h"

TEST(LibOrdinal, OnlyWindowsLibrariesHaveOrdinals)
{
    vcore::lib l;
    ASSERT_TRUE(l.load(filetest::testLibrary().c_str()));
    ASSERT_NE(nullptr, l.getProc(u"file_testlib_answer"));
    EXPECT_EQ(nullptr, l.getProc(5u));
    EXPECT_EQ(nullptr, l.getProc(reinterpret_cast<const char16_t*>(uintptr_t(5))));
}
