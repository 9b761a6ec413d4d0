#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hub/autostart.h"
#include "hub/programfile.h"
#include "profile.h"
#include "vcore/regkey.h"

using vcore::regkey;

namespace {

std::vector<uint8_t> bytes(std::u16string_view text, bool wide)
{
    std::vector<uint8_t> out;
    for (char16_t c : text) {
        out.push_back(uint8_t(c));
        if (wide)
            out.push_back(uint8_t(c >> 8));
    }
    return out;
}

class RunValue : public ::testing::Test {
protected:
    void set(uint32_t type, const std::vector<uint8_t>& data)
    {
        regkey key;
        ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", true));
        ASSERT_TRUE(key.writeRaw(u"Tolvanu", type, data));
    }

    scratchProfile profile;
};

TEST_F(RunValue, CountsAsOnOnlyForTextNamingTheProgram)
{
    set(regkey::typeSz, bytes(std::u16string(u"D:\\Tools\\TOLVANU.EXE\0", 21), true));
    EXPECT_TRUE(hub::autostartEnabled());
    set(regkey::typeSz, bytes(std::u16string(u"D:\\Tools\\Tolvanu2.exe\0", 22), true));
    EXPECT_FALSE(hub::autostartEnabled());
    set(regkey::typeMultiSz, bytes(std::u16string(u"D:\\Tools\\Tolvanu.exe\0\0", 22), true));
    EXPECT_TRUE(hub::autostartEnabled());
    set(regkey::typeBinary, bytes(u"D:\\Tools\\Tolvanu.exe", false));
    EXPECT_TRUE(hub::autostartEnabled()) << "REG_BINARY is read as 8-bit text";
    set(regkey::typeExpandSz, bytes(std::u16string(u"D:\\Tools\\Tolvanu.exe\0", 21), true));
    EXPECT_FALSE(hub::autostartEnabled());
    set(regkey::typeDword, {1, 0, 0, 0});
    EXPECT_FALSE(hub::autostartEnabled());
}

TEST_F(RunValue, SetWritesTheFullPathAsTerminatedText)
{
    hub::setAutostart(true);
    regkey key;
    ASSERT_TRUE(key.open(u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
    uint32_t type = 0;
    std::vector<uint8_t> data;
    ASSERT_TRUE(key.readRaw(u"Tolvanu", type, data));
    EXPECT_EQ(regkey::typeSz, type);
    const vcore::str path = hub::programPath();
    EXPECT_EQ(size_t(path.length() + 1) * 2, data.size());
    EXPECT_EQ(0, data[data.size() - 1] | data[data.size() - 2]);
}

} // namespace
