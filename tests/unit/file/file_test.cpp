#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "scratch.h"
#include "vcore/buf.h"
#include "vcore/file.h"

using vcore::file;
using namespace filetest;

namespace {

std::string readAll(file& f)
{
    std::string out;
    char block[7];
    uint32_t got = 0;
    while (f.read(block, sizeof block, got))
        out.append(block, got);
    return out;
}

bool writeText(file& f, const std::string& bytes)
{
    uint32_t put = 0;
    return f.write(bytes.data(), uint32_t(bytes.size()), put) && put == bytes.size();
}

} // namespace

TEST(FileOpen, MissingFileIsCreatedByDefaultButNotWithOpenExisting)
{
    scratch dir;
    file existing((dir / "missing.txt").u16string().c_str());
    existing.setMode(file::openExisting);
    EXPECT_FALSE(existing.open());
    EXPECT_FALSE(existing.isOpen());
    EXPECT_FALSE(existing.exists());

    file created(text(dir / "missing.txt").c_str());
    ASSERT_TRUE(created.open());
    EXPECT_TRUE(created.exists());
    EXPECT_EQ(0u, created.size());
    EXPECT_EQ(0u, created.position());
    EXPECT_FALSE(created.isWide());
}

TEST(FileOpen, CreateNewRefusesAnExistingFile)
{
    scratch dir;
    dir.put("there.txt", "keep");
    file f(text(dir / "there.txt").c_str());
    f.setMode(file::createNew);
    EXPECT_FALSE(f.open());
    EXPECT_EQ("keep", dir.contents("there.txt"));

    ASSERT_TRUE(f.open(text(dir / "new.txt").c_str()));
    EXPECT_TRUE(writeText(f, "fresh"));
    f.close();
    EXPECT_EQ("fresh", dir.contents("new.txt"));
}

TEST(FileOpen, ReadOnlyFileFallsBackToReading)
{
    scratch dir;
    ordinaryUser user;
    auto path = dir.put("locked.txt", "content");
    makeReadOnly(path);
    if (writesReadOnlyFiles(path))
        GTEST_SKIP() << "this user writes read-only files anyway";

    file f(text(path).c_str());
    ASSERT_TRUE(f.open());
    EXPECT_EQ(7u, f.size());
    uint32_t put = 99;
    EXPECT_FALSE(f.write("x", 1, put));
    EXPECT_EQ(0u, put);
    EXPECT_EQ("content", readAll(f));
    EXPECT_TRUE(isReadOnly(path));
}

TEST(FileOpen, CreateAlwaysClearsReadOnlyAndTruncates)
{
    scratch dir;
    ordinaryUser user;
    auto path = dir.put("locked.txt", "old content");
    makeReadOnly(path);
    if (writesReadOnlyFiles(path))
        GTEST_SKIP() << "this user writes read-only files anyway";

    file f(text(path).c_str());
    f.setMode(file::createAlways);
    ASSERT_TRUE(f.open());
    EXPECT_EQ(0u, f.size());
    EXPECT_TRUE(writeText(f, "new"));
    f.close();
    EXPECT_EQ("new", dir.contents("locked.txt"));
    EXPECT_FALSE(isReadOnly(path));
}

TEST(FileOpen, TruncateExistingEmptiesOnlyExistingFiles)
{
    scratch dir;
    dir.put("full.txt", "0123456789");
    file f(text(dir / "full.txt").c_str());
    f.setMode(file::truncateExisting);
    ASSERT_TRUE(f.open());
    EXPECT_EQ(0u, f.size());
    EXPECT_FALSE(f.open(text(dir / "absent.txt").c_str()));
    EXPECT_FALSE(fs::exists(dir / "absent.txt"));
}

TEST(FileByteOrderMark, LeadingMarkMakesTheFileWide)
{
    scratch dir;
    dir.put("wide.txt", std::string("\xFF\xFE" "a\0b\0", 6));
    dir.put("narrow.txt", "ab");
    dir.put("one.txt", "\xFF");

    file wide(text(dir / "wide.txt").c_str());
    ASSERT_TRUE(wide.open());
    EXPECT_TRUE(wide.isWide());
    EXPECT_EQ(2u, wide.position());
    EXPECT_EQ(4u, wide.available());
    EXPECT_EQ(std::string("a\0b\0", 4), readAll(wide));

    file narrow(text(dir / "narrow.txt").c_str());
    ASSERT_TRUE(narrow.open());
    EXPECT_FALSE(narrow.isWide());
    EXPECT_EQ(0u, narrow.position());
    EXPECT_EQ("ab", readAll(narrow));

    file one(text(dir / "one.txt").c_str());
    ASSERT_TRUE(one.open());
    EXPECT_FALSE(one.isWide());
    EXPECT_EQ("\xFF", readAll(one));
}

TEST(FileByteOrderMark, WrittenIntoEmptyFilesOnlyWhenAskedAndNotForOpenAlways)
{
    scratch dir;
    file created(text(dir / "created.txt").c_str());
    created.setMode(file::createAlways | file::writeByteOrderMark);
    ASSERT_TRUE(created.open());
    EXPECT_TRUE(created.isWide());
    EXPECT_EQ(2u, created.size());
    EXPECT_TRUE(writeText(created, std::string("x\0", 2)));
    created.close();
    EXPECT_EQ(std::string("\xFF\xFEx\0", 4), dir.contents("created.txt"));

    file always(text(dir / "always.txt").c_str());
    always.setMode(file::openAlways | file::writeByteOrderMark);
    ASSERT_TRUE(always.open());
    EXPECT_FALSE(always.isWide());
    EXPECT_EQ(0u, always.size());

    dir.put("empty.txt", "");
    file existing(text(dir / "empty.txt").c_str());
    existing.setMode(file::openExisting | file::writeByteOrderMark);
    ASSERT_TRUE(existing.open());
    EXPECT_TRUE(existing.isWide());
    existing.close();
    EXPECT_EQ("\xFF\xFE", dir.contents("empty.txt"));

    dir.put("plain.txt", "");
    file plain(text(dir / "plain.txt").c_str());
    plain.setMode(file::openExisting);
    ASSERT_TRUE(plain.open());
    EXPECT_FALSE(plain.isWide());
    plain.close();
    EXPECT_EQ("", dir.contents("plain.txt"));
}

TEST(FileIo, ReadsAndWritesMoveThePositionAndGrowTheSize)
{
    scratch dir;
    file f(text(dir / "data.bin").c_str());
    ASSERT_TRUE(f.open());
    EXPECT_TRUE(writeText(f, "hello world"));
    EXPECT_EQ(11u, f.size());
    EXPECT_EQ(11u, f.position());
    EXPECT_EQ(0u, f.available());

    uint32_t got = 99;
    char byte;
    EXPECT_FALSE(f.read(&byte, 1, got)) << "read at the end";
    EXPECT_EQ(0u, got);

    ASSERT_TRUE(f.seek(6));
    EXPECT_EQ(5u, f.available());
    EXPECT_EQ("world", readAll(f));

    ASSERT_TRUE(f.seek(5));
    ASSERT_TRUE(f.truncate());
    EXPECT_EQ(5u, f.size());
    ASSERT_TRUE(f.flush());
    f.close();
    EXPECT_EQ("hello", dir.contents("data.bin"));
}

TEST(FileIo, OverlappedModeReadsAndWritesAtThePosition)
{
    scratch dir;
    file f(text(dir / "async.bin").c_str());
    f.setAttributes(file::attrNormal | file::flagOverlapped);
    ASSERT_TRUE(f.open());
    EXPECT_TRUE(f.overlapped());
    EXPECT_TRUE(writeText(f, "abcdef"));
    EXPECT_EQ(6u, f.position());
    ASSERT_TRUE(f.seek(2));
    EXPECT_TRUE(writeText(f, "XY"));
    ASSERT_TRUE(f.seek(1));
    EXPECT_EQ("bXYef", readAll(f));
    uint32_t got = 99;
    char byte;
    EXPECT_FALSE(f.read(&byte, 1, got));
    EXPECT_EQ(0u, got);

    ASSERT_TRUE(f.seek(3));
    ASSERT_TRUE(f.truncate());
    EXPECT_EQ(3u, f.size());
    f.close();
    EXPECT_EQ("abX", dir.contents("async.bin"));
}

TEST(FileIo, ClosedFileRefusesEverything)
{
    scratch dir;
    file f(text(dir / "never.txt").c_str());
    char data[4] = {};
    uint32_t count = 99;
    EXPECT_FALSE(f.read(data, 4, count));
    EXPECT_EQ(0u, count);
    count = 99;
    EXPECT_FALSE(f.write(data, 4, count));
    EXPECT_EQ(0u, count);
    EXPECT_FALSE(f.seek(0));
    EXPECT_FALSE(f.truncate());
    EXPECT_FALSE(f.flush());
    EXPECT_FALSE(f.refreshSize());
    vcore::calendartime when;
    EXPECT_FALSE(f.creationTime(when));
    int32_t index = 7;
    EXPECT_FALSE(f.wait(0, index));
    EXPECT_EQ(-1, index);
    vcore::buf target;
    EXPECT_FALSE(f.copyTo(target));
    EXPECT_FALSE(fs::exists(dir / "never.txt"));
}

TEST(FileIo, CopyToStartsFromTheBeginning)
{
    scratch dir;
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    dir.put("big.bin", big);
    file f(text(dir / "big.bin").c_str());
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.seek(1000));
    vcore::buf target;
    ASSERT_TRUE(f.copyTo(target));
    ASSERT_EQ(big.size(), target.size());
    EXPECT_EQ(0, std::memcmp(big.data(), target.data(), big.size()));
}

TEST(FileHandle, DetachHandsOverAnOpenHandleAndAttachAdoptsIt)
{
    scratch dir;
    dir.put("shared.txt", "12345");
    file first(text(dir / "shared.txt").c_str());
    ASSERT_TRUE(first.open());
    file::handle h = first.detach();
    EXPECT_NE(file::noHandle, h);
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(0u, first.size());

    file second;
    ASSERT_TRUE(second.attach(h));
    EXPECT_EQ(5u, second.size());
    EXPECT_EQ("12345", readAll(second));
    EXPECT_FALSE(second.attach(file::noHandle));
    EXPECT_FALSE(second.isOpen());
}

TEST(FileHandle, ReopenOpensWhenClosedAndRereadsTheSizeWhenOpen)
{
    scratch dir;
    file f(text(dir / "grow.txt").c_str());
    ASSERT_TRUE(f.reopen());
    EXPECT_EQ(0u, f.size());
    dir.put("grow.txt", "grown");
    ASSERT_TRUE(f.reopen());
    EXPECT_EQ(5u, f.size());
}

TEST(FileHandle, CreationTimeIsNowForANewFile)
{
    scratch dir;
    file f(text(dir / "new.txt").c_str());
    ASSERT_TRUE(f.open());
    vcore::calendartime t;
    ASSERT_TRUE(f.creationTime(t));
    using namespace std::chrono;
    sys_days day = year(t.year) / month(t.month) / t.day;
    auto stamp = day + hours(t.hour) + minutes(t.minute) + seconds(t.second);
    auto drift = duration_cast<seconds>(system_clock::now() - stamp).count();
    EXPECT_LT(std::abs(drift), 600) << "UTC creation time off by " << drift << " s";
    EXPECT_EQ(unsigned(weekday(day).c_encoding()), t.dayOfWeek);
    EXPECT_LT(t.millisecond, 1000);
}

TEST(FileHandle, WaitSeesAnOpenFile)
{
    scratch dir;
    file f(text(dir / "ready.txt").c_str());
    ASSERT_TRUE(f.open());
    int32_t index = -5;
    EXPECT_TRUE(f.wait(100, index));
    EXPECT_EQ(0, index);
}
