// Cutting VLC's byte stream into lines.
#include <gtest/gtest.h>

#include <string>

#include "tests/unit/media/narrow.h"
#include "plugins/vlc/linereader.h"

using vcore::str;
using vlc::lineReader;

namespace {

void push(lineReader& reader, const std::string& bytes)
{
    reader.push(bytes.data(), bytes.size());
}

std::string next(lineReader& reader)
{
    str line;
    return reader.next(line) ? narrow(line) : std::string("<none>");
}

TEST(LineReader, LinesEndAtLfOrNulAndPiecesAreJoined)
{
    lineReader reader;
    push(reader, "one\r\ntw");
    EXPECT_EQ(next(reader), "one\r");
    EXPECT_EQ(next(reader), "<none>");
    push(reader, std::string("o\r\nthree\0four\n", 14));
    EXPECT_EQ(next(reader), "two\r");
    EXPECT_EQ(next(reader), "three");
    EXPECT_EQ(next(reader), "four");
    EXPECT_FALSE(reader.hasLine());
}

TEST(LineReader, BytesAboveAsciiStayBytes)
{
    lineReader reader;
    push(reader, "\xC3\xA9\xFF\n");
    str line;
    ASSERT_TRUE(reader.next(line));
    ASSERT_EQ(line.length(), 3);
    EXPECT_EQ(line[0], 0xC3);
    EXPECT_EQ(line[2], 0xFF);
}

TEST(LineReader, OverlongLineIsCutAndItsRestDropped)
{
    lineReader reader;
    push(reader, std::string(100000, 'x'));
    push(reader, std::string(50000, 'y') + "\nok\n");
    str line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.length(), lineReader::maxLineLength);
    EXPECT_EQ(line[lineReader::maxLineLength - 1], u'x');
    EXPECT_EQ(next(reader), "ok");
    EXPECT_EQ(next(reader), "<none>");
}

TEST(LineReader, ClearForgetsPendingText)
{
    lineReader reader;
    push(reader, "a\nhalf");
    reader.clear();
    push(reader, "b\n");
    EXPECT_EQ(next(reader), "b");
    EXPECT_EQ(next(reader), "<none>");
}

} // namespace
