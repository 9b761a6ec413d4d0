#include <gtest/gtest.h>
#include <windows.h>

#include "hub/programfile.h"

TEST(ProgramFile, WithoutVersionResourceTheVersionTextIsEmpty)
{
    // This test program carries no version resource; Tolvanu.exe's is checked by the program tests.
    uint16_t parts[4] = {};
    EXPECT_FALSE(hub::programVersion(parts));
    EXPECT_TRUE(hub::versionText().empty());

    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(path)), std::u16string(hub::programPath().data()));
}
