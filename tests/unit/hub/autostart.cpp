#include "hub/autostart.h"

#include <gtest/gtest.h>

#include "hub/programfile.h"
#include "profile.h"

namespace {

TEST(AutostartRule, FileNameAfterTheLastSeparatorIgnoringCase)
{
    const char16_t* name = u"Tolvanu.exe";
    EXPECT_TRUE(hub::namesProgram(u"D:\\Tools\\TOLVANU.EXE", name));
    EXPECT_FALSE(hub::namesProgram(u"D:\\Tools\\Tolvanu2.exe", name));
    EXPECT_TRUE(hub::namesProgram(u"Tolvanu.exe", name));
    EXPECT_TRUE(hub::namesProgram(u"C:/Program Files/Tolvanu\\tolvanu.exe", name));
    EXPECT_FALSE(hub::namesProgram(u"D:\\Tolvanu.exe\\", name));
    EXPECT_FALSE(hub::namesProgram(u"D:\\Tools\\Tolvanu.ex", name));
    EXPECT_FALSE(hub::namesProgram(u"\"D:\\Tools\\Tolvanu.exe\"", name)) << "no unquoting";
    EXPECT_FALSE(hub::namesProgram(u"", name));
}

TEST(Autostart, SetPointsTheEntryAtThisProgramAndClearRemovesIt)
{
    scratchProfile profile;
    EXPECT_TRUE(hub::autostartProgram().empty());
    EXPECT_FALSE(hub::autostartEnabled());

    hub::setAutostart(true);
    EXPECT_EQ(hub::programPath(), hub::autostartProgram());
    // The test program is not the hub, so by the rule this is still off.
    EXPECT_FALSE(hub::autostartEnabled());

    hub::setAutostart(false);
    EXPECT_TRUE(hub::autostartProgram().empty());
    hub::setAutostart(false);
    EXPECT_TRUE(hub::autostartProgram().empty());
}

} // namespace
