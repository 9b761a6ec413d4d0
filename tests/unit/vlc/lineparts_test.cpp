// Cutting a VLC line into head, inner and tail.
#include <gtest/gtest.h>

#include "tests/unit/media/narrow.h"
#include "plugins/vlc/lineparts.h"

using vcore::str;
using vlc::cutLine;

namespace {

std::string s(vcore::strview v)
{
    return narrow(str(v));
}

TEST(LineParts, StatusLines)
{
    str line(u"status change: ( pause state: 3 ): Pause\r");
    auto p = cutLine(line);
    EXPECT_EQ(s(p.head), "status change");
    EXPECT_EQ(s(p.inner), "pause state: 3");
    EXPECT_EQ(s(p.tail), "Pause");

    line = u"status change: ( play state: 3 )\r";
    p = cutLine(line);
    EXPECT_EQ(s(p.inner), "play state: 3");
    EXPECT_EQ(s(p.tail), "");

    line = u"status change: ( new input: file:///music/a(1).mp3 )\r";
    EXPECT_EQ(s(cutLine(line).inner), "new input: file:///music/a(1");
}

TEST(LineParts, OtherShapes)
{
    str line(u"playlist: returned 0 (no error)\r");
    auto p = cutLine(line);
    EXPECT_EQ(s(p.head), "playlist");
    EXPECT_EQ(s(p.inner), "no error");
    EXPECT_EQ(s(p.tail), "");

    line = u"  Setting random to true\r";
    EXPECT_EQ(s(cutLine(line).head), "Setting random to true\r");

    line = u"(x) y: z";
    p = cutLine(line);
    EXPECT_EQ(s(p.inner), "");
    EXPECT_EQ(s(p.tail), "z");

    line = u"a: b: c \t";
    EXPECT_EQ(s(cutLine(line).tail), "c");
    line = u"a: b";
    EXPECT_EQ(s(cutLine(line).tail), "");
    line = u"x (open";
    EXPECT_EQ(s(cutLine(line).inner), "open");
}

TEST(LineParts, DegenerateLines)
{
    str line;
    auto p = cutLine(line);
    EXPECT_TRUE(p.head.empty() && p.inner.empty() && p.tail.empty());

    line = u":";
    p = cutLine(line);
    EXPECT_TRUE(p.head.empty() && p.inner.empty() && p.tail.empty());

    line = u"):(";
    p = cutLine(line);
    EXPECT_EQ(s(p.head), ")");
    EXPECT_EQ(s(p.inner), "");
    EXPECT_EQ(s(p.tail), "(");

    line = u"::)(";
    p = cutLine(line);
    EXPECT_EQ(s(p.head), "");
    EXPECT_EQ(s(p.inner), "");
    EXPECT_EQ(s(p.tail), "");
}

} // namespace
