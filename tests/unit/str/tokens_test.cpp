// Tokenizers: fields are views into the text that was split.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vcore/strtokens.h"

using vcore::str;
using vcore::strtokens;
using vcore::strtokens_cpp;
using vcore::strtokens_var;

namespace {

std::vector<std::u16string> fields(const strtokens& t)
{
    std::vector<std::u16string> out;
    for (int32_t i = 0; i < t.count(); ++i)
        out.emplace_back(t.token(i).data(), size_t(t.token(i).length()));
    return out;
}

using list = std::vector<std::u16string>;

TEST(StrTokensVar, EmptyFieldsCount)
{
    strtokens_var t(u';');
    str line(u"a;;b;");
    EXPECT_EQ(t.split(line), 4);
    EXPECT_EQ(fields(t), (list{u"a", u"", u"b", u""}));

    str empty;
    EXPECT_EQ(t.split(empty), 1);
    EXPECT_TRUE(t.token(0).empty());
}

TEST(StrTokensVar, ProtocolLines)
{
    strtokens_var space(u' ');
    str command(u"system.init 10.66.0.2");
    EXPECT_EQ(space.parse(command), 2);
    EXPECT_TRUE(space.token(0).equals(u"system.init"));
    EXPECT_TRUE(str(space.token(1)).equals(u"10.66.0.2"));

    strtokens_var semi;
    str open(u"open;media;10.66.0.2;phone:42;");
    EXPECT_EQ(semi.split(open), 5);
    EXPECT_TRUE(semi.token(3).equals(u"phone:42"));
    // Fields point into the split text rather than copies.
    EXPECT_EQ(semi.token(1).data(), open.data() + 5);
}

TEST(StrTokens, TokensOutOfRangeAreEmptyAndResplittingClears)
{
    strtokens_var t(u',');
    str a(u"1,2,3");
    t.split(a);
    EXPECT_TRUE(t.token(3).empty());
    EXPECT_EQ(t.token(3).data(), nullptr);
    EXPECT_TRUE(t.token(-1).empty());
    str b(u"x");
    EXPECT_EQ(t.split(b), 1);
    EXPECT_EQ(t.token(1).data(), nullptr);

    strtokens base;
    EXPECT_EQ(base.split(a), 0);
}

TEST(StrTokens, ItemsGrowByFourTimesPastTheIndex)
{
    strtokens_var t(u',');
    EXPECT_EQ(t.capacity(), 32);
    std::u16string text;
    for (int i = 0; i < 200; ++i) {
        text += u'f';
        text += char16_t(u'0' + i % 10);
        text += u',';
    }
    str line(text.c_str());
    EXPECT_EQ(t.split(line), 201);
    EXPECT_EQ(t.capacity(), 512);
    EXPECT_TRUE(t.token(0).equals(u"f0"));
    EXPECT_TRUE(t.token(199).equals(u"f9"));
    EXPECT_TRUE(t.token(200).empty());
}

TEST(StrTokens, Lines)
{
    strtokens t;
    str text(u"first\r\nsecond\n\nfourth\n");
    EXPECT_EQ(t.splitLines(text), 4);
    EXPECT_EQ(fields(t), (list{u"first", u"second", u"", u"fourth"}));
    str unterminated(u"one\ntwo");
    EXPECT_EQ(t.splitLines(unterminated), 2);
    str empty;
    EXPECT_EQ(t.splitLines(empty), 0);
    str crOnly(u"\r\n");
    EXPECT_EQ(t.splitLines(crOnly), 1);
    EXPECT_TRUE(t.token(0).empty());
}

TEST(StrTokens, Words)
{
    strtokens t;
    str text(u"  media.play \t now\r\n");
    EXPECT_EQ(t.splitWords(text), 2);
    EXPECT_EQ(fields(t), (list{u"media.play", u"now"}));
    str blanks(u" \t ");
    EXPECT_EQ(t.splitWords(blanks), 0);
}

TEST(StrTokens, Paths)
{
    strtokens t;
    str path(u"C:\\Music//album/");
    EXPECT_EQ(t.splitPath(path), 4);
    EXPECT_EQ(fields(t), (list{u"C:", u"Music", u"", u"album"}));
    str rooted(u"/usr/lib");
    EXPECT_EQ(t.splitPath(rooted), 3);
    EXPECT_TRUE(t.token(0).empty());
}

TEST(StrTokensCpp, QuotedFieldsKeepSeparators)
{
    str line(u"say \"hello world\" two");
    strtokens_cpp t(line);
    EXPECT_EQ(fields(t), (list{u"say", u"hello world", u"two"}));
}

TEST(StrTokensCpp, DoubledQuoteIsLiteralAndEditsTheText)
{
    str line(u"set \"a b\" \"c\"\"d\" e");
    strtokens_cpp t;
    EXPECT_EQ(t.parse(line), 4);
    EXPECT_EQ(fields(t), (list{u"set", u"a b", u"c\"d", u"e"}));
    EXPECT_TRUE(line.equals(u"set \"a b\" \"c\"d\" e"));
}

TEST(StrTokensCpp, EmptyQuotedFieldsCountEmptyUnquotedOnesDoNot)
{
    str line(u"a  \"\" b \"\"");
    strtokens_cpp t(line);
    EXPECT_EQ(fields(t), (list{u"a", u"", u"b", u""}));
}

TEST(StrTokensCpp, QuotesNextToOrdinaryCharactersSplitThere)
{
    str line(u"ab\"c d\"ef");
    strtokens_cpp t(line);
    EXPECT_EQ(fields(t), (list{u"ab", u"c d", u"ef"}));

    str open(u"x \"unterminated rest");
    t.parse(open);
    EXPECT_EQ(fields(t), (list{u"x", u"unterminated rest"}));
}

TEST(StrTokensCpp, OwnSeparators)
{
    strtokens_cpp t;
    t.setSeparators(u",");
    str line(u"a b,\"c,d\",,e");
    EXPECT_EQ(t.parse(line), 3);
    EXPECT_EQ(fields(t), (list{u"a b", u"c,d", u"e"}));
    str empty;
    EXPECT_EQ(t.parse(empty), 0);
}

} // namespace
