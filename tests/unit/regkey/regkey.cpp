#include "vcore/regkey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scratch.h"

using vcore::regkey;
using vcore::str;

namespace {

std::u16string text(const str& s) { return std::u16string(s.data(), size_t(s.length())); }

std::vector<uint8_t> utf16Bytes(std::u16string_view units)
{
    std::vector<uint8_t> bytes;
    for (char16_t u : units) {
        bytes.push_back(uint8_t(u));
        bytes.push_back(uint8_t(u >> 8));
    }
    return bytes;
}

class Regkey : public ::testing::Test {
protected:
    // Opens the scratch key (created), optionally a level below it.
    void openScratch(regkey& key, const char16_t* below = nullptr)
    {
        ASSERT_TRUE(key.open(scratch.path(below), true));
    }

    scratchRegistry scratch;
};

TEST_F(Regkey, OpensLevelByLevelAndContinuesBelowTheTop)
{
    regkey key;
    EXPECT_FALSE(key.open(u""));
    EXPECT_FALSE(key.open(u"SOFTWARE")) << "a relative path needs a root below it";
    EXPECT_EQ(nullptr, key.top());

    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER"));
    EXPECT_EQ(0, key.depth());
    EXPECT_NE(nullptr, key.top());

    // Root, then a relative path of the scratch key and two new names, created level by level.
    const str scratchBelowRoot = scratch.path().mid(18);
    ASSERT_TRUE(key.open(scratchBelowRoot, true));
    ASSERT_TRUE(key.open(u"one\\two", true));
    EXPECT_EQ(scratch.levels() + 2, key.depth());
    ASSERT_TRUE(key.writeText(u"where", u"two"));

    regkey other;
    ASSERT_TRUE(other.open(scratch.path(u"one\\two")));
    str value;
    ASSERT_TRUE(other.readText(u"where", value));
    EXPECT_EQ(u"two", text(value));
}

TEST_F(Regkey, MissingLevelFailsAndKeepsTheLevelsBeforeIt)
{
    {
        regkey setup;
        openScratch(setup);
    }
    regkey key;
    EXPECT_FALSE(key.open(scratch.path(u"missing\\deeper")));
    EXPECT_EQ(scratch.levels(), key.depth());

    // The top is the last level that opened: the scratch key itself.
    ASSERT_TRUE(key.writeText(u"marker", u"here"));
    regkey check;
    ASSERT_TRUE(check.open(scratch.path()));
    str value;
    EXPECT_TRUE(check.readText(u"marker", value));
    EXPECT_FALSE(check.open(u"missing"));
}

TEST_F(Regkey, ClosesLevelsDownToTheRoot)
{
    regkey key;
    EXPECT_FALSE(key.closeLevel());

    openScratch(key, u"a\\b");
    EXPECT_EQ(scratch.levels() + 2, key.depth());
    EXPECT_TRUE(key.closeLevel());
    EXPECT_EQ(scratch.levels() + 1, key.depth());
    ASSERT_TRUE(key.writeText(u"in", u"a"));

    key.closeAll();
    EXPECT_EQ(0, key.depth());
    EXPECT_FALSE(key.closeLevel());
    // The root stays chosen: a relative path goes on from it.
    ASSERT_TRUE(key.open(scratch.path(u"a").mid(18)));
    str value;
    EXPECT_TRUE(key.readText(u"in", value));
}

TEST_F(Regkey, NewRootClosesTheLevelsOfTheOldPath)
{
    regkey key;
    openScratch(key, u"deep\\er");
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER"));
    EXPECT_EQ(0, key.depth());
    ASSERT_TRUE(key.open(u"HKEY_CLASSES_ROOT"));
    EXPECT_EQ(0, key.depth());
}

TEST_F(Regkey, NamesIgnoreCaseAndEitherSeparatorWorks)
{
    regkey writer;
    openScratch(writer, u"Mixed\\Case");
    ASSERT_TRUE(writer.writeText(u"Value", u"x"));

    str path = scratch.path(u"mIXED/cASE");
    path.toLower();
    regkey reader;
    ASSERT_TRUE(reader.open(path));
    EXPECT_EQ(scratch.levels() + 2, reader.depth());
    str value;
    ASSERT_TRUE(reader.readText(u"VALUE", value));
    EXPECT_EQ(u"x", text(value));
}

TEST_F(Regkey, WritesTextAsTerminatedUtf16)
{
    regkey key;
    openScratch(key);
    const std::u16string sample = u"Ger\u00e4t \u2603 \U0001D11E";
    ASSERT_TRUE(key.writeText(u"text", sample.c_str()));

    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(key.readRaw(u"text", type, data));
    EXPECT_EQ(regkey::typeSz, type);
    std::vector<uint8_t> expected = utf16Bytes(sample);
    expected.insert(expected.end(), {0, 0});
    EXPECT_EQ(expected, data);

    str back;
    ASSERT_TRUE(key.readText(u"text", back));
    EXPECT_EQ(sample, text(back));

    ASSERT_TRUE(key.writeText(u"empty", u""));
    ASSERT_TRUE(key.readRaw(u"empty", type, data));
    EXPECT_EQ(2u, data.size());
}

TEST_F(Regkey, ReadsTextFromStringListAndBinaryOnly)
{
    regkey key;
    openScratch(key);
    ASSERT_TRUE(key.writeRaw(u"multi", regkey::typeMultiSz, utf16Bytes(std::u16string(u"first\0second\0\0", 14))));
    ASSERT_TRUE(key.writeRaw(u"binary", regkey::typeBinary, {'C', ':', 0xE9, 0xFF, 0, 'x'}));
    ASSERT_TRUE(key.writeRaw(u"unterminated", regkey::typeSz, {'a', 0, 'b', 0, 'c'}));
    ASSERT_TRUE(key.writeDword(u"number", 7));
    ASSERT_TRUE(key.writeRaw(u"expand", regkey::typeExpandSz, utf16Bytes(std::u16string(u"%TEMP%\0", 7))));

    str value;
    ASSERT_TRUE(key.readText(u"multi", value));
    EXPECT_EQ(u"first", text(value));
    ASSERT_TRUE(key.readText(u"binary", value));
    EXPECT_EQ(u"C:\u00e9\u00ff", text(value)) << "each byte widened, up to the first NUL";
    ASSERT_TRUE(key.readText(u"unterminated", value));
    EXPECT_EQ(u"ab", text(value)) << "no read past the data, half a unit dropped";

    value = u"unchanged";
    EXPECT_FALSE(key.readText(u"number", value));
    EXPECT_FALSE(key.readText(u"expand", value));
    EXPECT_FALSE(key.readText(u"absent", value));
    EXPECT_EQ(u"unchanged", text(value));
}

TEST_F(Regkey, ReadsAnyFourByteValueAsDword)
{
    regkey key;
    openScratch(key);
    ASSERT_TRUE(key.writeDword(u"all bits", 0xFFFFFFFFu));
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(key.readRaw(u"all bits", type, data));
    EXPECT_EQ(regkey::typeDword, type);
    EXPECT_EQ(std::vector<uint8_t>({0xFF, 0xFF, 0xFF, 0xFF}), data);

    ASSERT_TRUE(key.writeRaw(u"binary four", regkey::typeBinary, {2, 0, 0, 0}));
    ASSERT_TRUE(key.writeRaw(u"short", regkey::typeBinary, {3, 0}));
    ASSERT_TRUE(key.writeRaw(u"long", regkey::typeBinary, {4, 0, 0, 0, 0, 0, 0, 0}));

    uint32_t number = 99;
    ASSERT_TRUE(key.readDword(u"all bits", number));
    EXPECT_EQ(-1, int32_t(number));
    ASSERT_TRUE(key.readDword(u"binary four", number));
    EXPECT_EQ(2u, number);
    number = 99;
    EXPECT_FALSE(key.readDword(u"short", number));
    EXPECT_FALSE(key.readDword(u"long", number));
    EXPECT_FALSE(key.readDword(u"absent", number));
    EXPECT_EQ(99u, number);
}

TEST_F(Regkey, UnnamedValueIsTheDefaultValue)
{
    regkey key;
    openScratch(key);
    ASSERT_TRUE(key.writeDword(u"", 1));
    uint32_t number = 0;
    ASSERT_TRUE(key.readDword(u"", number));
    EXPECT_EQ(1u, number);
    EXPECT_TRUE(key.deleteValue(u""));
    EXPECT_FALSE(key.readDword(u"", number));
}

TEST_F(Regkey, DeletesValuesAndKeys)
{
    regkey key;
    openScratch(key, u"devices");
    ASSERT_TRUE(key.writeDword(u"0042", 1));
    EXPECT_TRUE(key.deleteValue(u"0042"));
    EXPECT_FALSE(key.deleteValue(u"0042"));
    ASSERT_TRUE(key.writeDword(u"0043", 1));
    key.closeLevel();

    EXPECT_TRUE(key.deleteKey(u"devices")) << "a key goes with its values";
    EXPECT_FALSE(key.deleteKey(u"devices"));
    EXPECT_FALSE(key.deleteKey(u""));
    regkey check;
    EXPECT_FALSE(check.open(scratch.path(u"devices")));
}

TEST_F(Regkey, DeleteKeyKeepsAKeyThatHasSubKeys)
{
    regkey key;
    openScratch(key, u"parent\\child");
    key.closeAll();
    ASSERT_TRUE(key.open(scratch.path()));
    EXPECT_FALSE(key.deleteKey(u"parent"));
    EXPECT_TRUE(key.deleteKey(u"parent\\child"));
    EXPECT_TRUE(key.deleteKey(u"parent"));
}

TEST_F(Regkey, DeletedKeyIsNotBroughtBackByAWrite)
{
    regkey holder;
    openScratch(holder, u"doomed");
    regkey deleter;
    openScratch(deleter);
    ASSERT_TRUE(deleter.deleteKey(u"doomed"));

    EXPECT_FALSE(holder.writeText(u"late", u"write"));
    regkey check;
    EXPECT_FALSE(check.open(scratch.path(u"doomed")));
}

} // namespace
