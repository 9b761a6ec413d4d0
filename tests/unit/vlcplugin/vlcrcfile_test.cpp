// VLC's configuration on disk: found, prepared once for the remote control, never lost on the way.
#include <gtest/gtest.h>

#include "plugins/vlc/vlcconfig.h"
#include "plugins/vlc/vlcrcfile.h"
#include "vlcsupport.h"

using namespace vlctest;
using vlc::configOutcome;

namespace {

// The parts of the file VLC 3.0 writes that matter here, in its order: a byte-order mark, the
// remote-control section, the Lua interface's own "rc-host", the core's interface list. LF ends.
const std::string vlcsOwnFile =
    "\xEF\xBB\xBF###\n###  vlc 3.0.24\n###\n\n# caf\xC3\xA9\n[oldrc] # Remote control interface\n\n"
    "# Fake TTY (boolean)\n#rc-fake-tty=0\n\n# TCP command input (string)\n#rc-host=\n\n"
    "[lua] # Lua interpreter\n# TCP command input (string)\n#rc-host=\n\n"
    "[core] # core program\n# Extra interface modules (string)\n#extraintf=\n";

std::string preparedForThisSystem()
{
    const vlc::vlcrcOptions here = vlc::vlcrcOptionsHere(true);
    const std::string end = here.lineEnd == std::u16string(u"\n") ? "\n" : "\r\n";
    const std::string fakeTty = here.ensureFakeTty ? "rc-fake-tty=1" : "#rc-fake-tty=0";
    const char* lines[] = {"\xEF\xBB\xBF###", "###  vlc 3.0.24", "###", "", "# caf\xC3\xA9",
                           "[oldrc] # Remote control interface", "", "# Fake TTY (boolean)",
                           fakeTty.c_str(), "", "# TCP command input (string)", "rc-host=localhost:6637", "",
                           "[lua] # Lua interpreter", "# TCP command input (string)", "#rc-host=", "",
                           "[core] # core program", "# Extra interface modules (string)", "extraintf=oldrc"};
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + end;
    return text;
}

class VlcrcOnDisk : public ::testing::Test {
protected:
    configOutcome prepare(bool allowRewrite) const
    {
        return vlc::prepareConfig(text(file), vlc::vlcrcOptionsHere(allowRewrite));
    }
    fs::path beside(const char* suffix) const { return fs::path(file.string() + suffix); }

    scratch folder;
    fs::path file = folder.path() / "vlc" / "vlcrc";
};

} // namespace

TEST_F(VlcrcOnDisk, VlcsOwnFileIsPreparedOnceAndTheOldOneKeptAsBackup)
{
    writeFile(file, vlcsOwnFile);
    configOutcome first = prepare(true);
    EXPECT_EQ(first.port, 6637);
    EXPECT_TRUE(first.rewritten);
    EXPECT_EQ(readFile(file), preparedForThisSystem());
    EXPECT_EQ(readFile(beside(".bak")), vlcsOwnFile);
    EXPECT_FALSE(fs::exists(beside(".new")));

    // Now VLC offers the interface: nothing more to do, and the backup stays the user's file.
    configOutcome second = prepare(true);
    EXPECT_EQ(second.port, 6637);
    EXPECT_FALSE(second.rewritten);
    EXPECT_EQ(readFile(beside(".bak")), vlcsOwnFile);
}

TEST_F(VlcrcOnDisk, WithoutPermissionOrNeedTheFileIsOnlyRead)
{
    writeFile(file, vlcsOwnFile);
    EXPECT_EQ(prepare(false).port, -1);
    EXPECT_EQ(readFile(file), vlcsOwnFile);

    const std::string enabled = "extraintf=oldrc\r\nrc-host=127.0.0.1:4212\r\n";
    writeFile(file, enabled);
    const configOutcome outcome = prepare(true);
    EXPECT_EQ(outcome.port, 4212);
    EXPECT_FALSE(outcome.rewritten);
    EXPECT_EQ(readFile(file), enabled);

    // No "rc-host=" line at all: a rewrite could not give a port, so the file is left alone.
    writeFile(file, "extraintf=\n");
    EXPECT_EQ(prepare(true).port, -1);
    EXPECT_EQ(readFile(file), "extraintf=\n");
    EXPECT_FALSE(fs::exists(beside(".bak")));
}

TEST_F(VlcrcOnDisk, WhatCannotBeReadWholeIsNeverRewritten)
{
    EXPECT_EQ(prepare(true).port, -1);  // no file
    EXPECT_FALSE(fs::exists(file));

    fs::create_directories(file);  // a folder in its place
    EXPECT_EQ(prepare(true).port, -1);
    fs::remove(file);

    const char nul[] = "#rc-host=\n#extraintf=\n# \0 and more\n";
    const std::string withNul(nul, sizeof nul - 1);
    writeFile(file, withNul);
    const configOutcome outcome = prepare(true);
    EXPECT_EQ(outcome.port, -1);
    EXPECT_FALSE(outcome.rewritten);
    EXPECT_EQ(readFile(file), withNul);
    EXPECT_FALSE(fs::exists(beside(".bak")));
}

TEST_F(VlcrcOnDisk, ARewriteThatFailsHalfWayLeavesTheFileAsItWas)
{
    writeFile(file, vlcsOwnFile);
    fs::create_directories(beside(".new"));  // the new file cannot be written
    configOutcome outcome = prepare(true);
    EXPECT_TRUE(outcome.rewriteFailed);
    EXPECT_EQ(outcome.port, -1);
    EXPECT_EQ(readFile(file), vlcsOwnFile);
    fs::remove(beside(".new"));

    fs::remove(beside(".bak"));
    fs::create_directories(beside(".bak"));  // no backup, no rewrite
    outcome = prepare(true);
    EXPECT_TRUE(outcome.rewriteFailed);
    EXPECT_EQ(readFile(file), vlcsOwnFile);
    EXPECT_FALSE(fs::exists(beside(".new")));
}
