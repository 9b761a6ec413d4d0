#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "hub/programfile.h"
#include "timecheck.h"
#include "vcore/nativepath.h"

TEST(ProgramFile, LinuxVersionIsCompiledIn)
{
    EXPECT_EQ(u"1.1.3", std::u16string(hub::versionText().data()));
    char path[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", path, sizeof path - 1), 0);
    EXPECT_EQ(path, vcore::toNativePath(hub::programPath()));
}

TEST(ProgramFile, BuildTimeIgnoresTheLocalZone)
{
    // A zone five and a half hours from UTC shows any conversion to local time.
    setenv("TZ", "XYZ-05:30", 1);
    tzset();
    char path[] = "/tmp/tolvanu-buildtime-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    const vcore::str text = hub::buildTimeTextOf(vcore::fromNativePath(path));
    unlink(path);
    std::string narrow;
    for (int32_t i = 0; i < text.length(); ++i)
        narrow += char(text[i]);
    const long off = secondsFromNow(narrow);
    EXPECT_TRUE(off >= 0 && off < 60) << narrow;
}
