#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vcore/buf.h"

using vcore::buf;

namespace {

std::string bytes(const buf& b)
{
    return std::string(reinterpret_cast<const char*>(b.data()), size_t(b.size()));
}

} // namespace

TEST(Buf, GrowingPastTheCapacityKeepsEarlierBytes)
{
    buf b(40);
    ASSERT_TRUE(b.isOpen());
    EXPECT_EQ(40u, b.capacity());
    std::string first(30, 'a');
    uint32_t put = 0;
    ASSERT_TRUE(b.write(first.data(), 30, put));
    EXPECT_EQ(30u, put);

    std::string second(100, 'b');
    ASSERT_TRUE(b.write(second.data(), 100, put));
    EXPECT_EQ(100u, put);
    EXPECT_EQ(160u, b.capacity()) << "doubled until 130 bytes fit";
    EXPECT_EQ(130u, b.size());
    EXPECT_EQ(130u, b.sizeHint());
    EXPECT_EQ(first + second, bytes(b));
}

TEST(Buf, OverwriteInTheMiddleKeepsTheSize)
{
    buf b;
    uint32_t put = 0;
    ASSERT_TRUE(b.write("abcdef", 6, put));
    ASSERT_TRUE(b.seek(2));
    ASSERT_TRUE(b.write("XY", 2, put));
    EXPECT_EQ(4u, b.position());
    EXPECT_EQ("abXYef", bytes(b));
}

TEST(Buf, SeekStopsAtTheSizeAndReadsTakeWhatIsLeft)
{
    buf b;
    uint32_t count = 0;
    ASSERT_TRUE(b.write("0123456789", 10, count));
    ASSERT_TRUE(b.seek(1000));
    EXPECT_EQ(10u, b.position());
    EXPECT_EQ(0u, b.available());

    ASSERT_TRUE(b.seek(7));
    char out[8] = {};
    ASSERT_TRUE(b.read(out, sizeof out, count));
    EXPECT_EQ(3u, count);
    EXPECT_STREQ("789", out);
    EXPECT_TRUE(b.read(out, sizeof out, count)) << "an existing buffer reads, if nothing";
    EXPECT_EQ(0u, count);

    ASSERT_TRUE(b.seek(2));
    ASSERT_TRUE(b.advance(3));
    EXPECT_EQ(5u, b.position());
    ASSERT_TRUE(b.advance(UINT64_MAX));
    EXPECT_EQ(10u, b.position());
}

TEST(Buf, WriteThatCannotGrowStoresNothing)
{
    buf b;
    uint32_t put = 0;
    ASSERT_TRUE(b.write("abc", 3, put));
    char one = 'z';
    // Reaching past 4 GiB can never fit; the data pointer must not even be read.
    EXPECT_FALSE(b.write(&one, 0xFFFFFFFFu, put));
    EXPECT_EQ(0u, put);
    EXPECT_EQ(3u, b.size());
    EXPECT_EQ(3u, b.position());
    EXPECT_EQ("abc", bytes(b));
}

TEST(Buf, OpenStartsOverWithTheLastGrownSize)
{
    buf b(32);
    std::string data(1000, 'q');
    uint32_t put = 0;
    ASSERT_TRUE(b.write(data.data(), 1000, put));
    ASSERT_TRUE(b.open());
    EXPECT_EQ(0u, b.size());
    EXPECT_EQ(0u, b.position());
    EXPECT_EQ(1000u, b.capacity());

    b.close();
    EXPECT_FALSE(b.isOpen());
    uint32_t count = 9;
    char out;
    EXPECT_FALSE(b.read(&out, 1, count));
    EXPECT_EQ(0u, count);
    EXPECT_FALSE(b.write("a", 1, count));
    EXPECT_FALSE(b.seek(0));
}

TEST(Buf, TinySizeHintStillGivesRoom)
{
    buf b(1);
    EXPECT_EQ(buf::minimumCapacity, b.capacity());
}

TEST(Buf, CopyToMovesTheRestToAnotherStream)
{
    buf source, target;
    std::string data(150000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = char(i % 251);
    uint32_t put = 0;
    ASSERT_TRUE(source.write(data.data(), uint32_t(data.size()), put));
    ASSERT_TRUE(source.seek(0));
    ASSERT_TRUE(source.copyTo(target));
    EXPECT_EQ(data, bytes(target));
}

TEST(Buf, ForwardSlashesRewritesTheName)
{
    buf b;
    b.open(u"a\\b\\c.txt");
    b.forwardSlashes();
    EXPECT_TRUE(b.name() == u"a/b/c.txt");
}
