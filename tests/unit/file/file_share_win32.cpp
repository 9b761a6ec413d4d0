#include <gtest/gtest.h>

#include <windows.h>

#include "scratch.h"
#include "vcore/file.h"

using vcore::file;
using namespace filetest;

namespace {

// A handle that lets others read but not write, so opening for writing fails.
struct readersOnly {
    HANDLE h;
    explicit readersOnly(const fs::path& p)
        : h(CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~readersOnly() { CloseHandle(h); }
};

} // namespace

TEST(FileSharing, FileLockedForWritingFallsBackToReading)
{
    scratch dir;
    auto path = dir.put("busy.txt", "busy");
    readersOnly other(path);
    ASSERT_NE(INVALID_HANDLE_VALUE, other.h);

    file f(text(path).c_str());
    ASSERT_TRUE(f.open());
    uint32_t count = 0;
    EXPECT_FALSE(f.write("x", 1, count));
    char data[8] = {};
    ASSERT_TRUE(f.read(data, sizeof data, count));
    EXPECT_STREQ("busy", data);
}

TEST(FileSharing, CreateAlwaysClearsAttributesThenFallsBackToReading)
{
    scratch dir;
    auto path = dir.put("busy.txt", "busy");
    makeReadOnly(path);
    readersOnly other(path);
    ASSERT_NE(INVALID_HANDLE_VALUE, other.h);

    file f(text(path).c_str());
    f.setMode(file::createAlways);
    ASSERT_TRUE(f.open());
    EXPECT_FALSE(isReadOnly(path)) << "attributes are cleared before the retry";
    EXPECT_EQ(4u, f.size()) << "nothing was truncated";
    uint32_t count = 0;
    EXPECT_FALSE(f.write("x", 1, count));
}

TEST(FileSharing, WaitCoversTheOverlappedEvent)
{
    scratch dir;
    file f(text(dir / "async.bin").c_str());
    f.setAttributes(file::attrNormal | file::flagOverlapped);
    ASSERT_TRUE(f.open());
    uint32_t put = 0;
    ASSERT_TRUE(f.write("abc", 3, put));
    int32_t index = -5;
    EXPECT_TRUE(f.wait(100, index));
    EXPECT_TRUE(index == 0 || index == 1);
}
