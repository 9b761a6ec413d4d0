#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "hub/autostart.h"
#include "hub/desktopentry_posix.h"
#include "profile.h"
#include "vcore/xdgdirs_posix.h"

namespace {

class AutostartEntry : public ::testing::Test {
protected:
    void write(const std::string& content)
    {
        const std::string folder = vcore::xdg::configHome() + "/autostart";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/tolvanu.desktop") << content;
    }

    scratchProfile profile;
};

TEST_F(AutostartEntry, CountsAsOnWhenExecStartsTheHub)
{
    write("[Desktop Entry]\nType=Application\nExec=/opt/Tools/TOLVANU\n");
    EXPECT_TRUE(hub::autostartEnabled());
    write("[Desktop Entry]\nExec=/opt/Tools/tolvanu2\n");
    EXPECT_FALSE(hub::autostartEnabled());
    write("[Desktop Entry]\nExec=\"/opt/my tools/tolvanu\" --quiet\n");
    EXPECT_TRUE(hub::autostartEnabled());
    write("[Desktop Entry]\nExec=/opt/Tools/tolvanu %U\n");
    EXPECT_TRUE(hub::autostartEnabled());
    write("[Desktop Entry]\nExec=/opt/Tools/tolvanu\nHidden=true\n");
    EXPECT_FALSE(hub::autostartEnabled()) << "a hidden entry is switched off";
    write("[Desktop Entry]\nName=Tolvanu\n[Desktop Action Other]\nExec=/opt/Tools/tolvanu\n");
    EXPECT_FALSE(hub::autostartEnabled()) << "only the main group's Exec counts";
}

TEST(DesktopEntryExec, QuotesAnyPathSoItReadsBackTheSame)
{
    for (const std::string program : {"/usr/bin/tolvanu", "/opt/my tools/tolvanu", "/a \"quoted\"/b`c`/$HOME/tolvanu",
                                      "/100%/back\\slash/tolvanu", "/new\nline/tab\there/tolvanu"}) {
        const std::string value = hub::desktopentry::execValue(program);
        EXPECT_EQ(std::string::npos, value.find('\n')) << value;
        EXPECT_EQ(program, hub::desktopentry::execProgram(value)) << value;
    }
    EXPECT_EQ("/opt/a b/tolvanu", hub::desktopentry::execProgram(R"("/opt/a b/tolvanu" %f)"));
}

} // namespace
