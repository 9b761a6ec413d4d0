#include "hub/programfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "hub/tolvanu.h"
#include "timecheck.h"

namespace {

std::string narrow(const vcore::str& text)
{
    std::string out;
    for (int32_t i = 0; i < text.length(); ++i)
        out += char(text[i]);
    return out;
}

TEST(VersionText, FollowsTheFormattingRule)
{
    const struct {
        uint16_t parts[4];
        const char* text;
    } examples[] = {
        {{1, 1, 3, 0}, "1.1.3"}, {{2, 0, 0, 0}, "2.0"},     {{2, 0, 0, 5}, "2.0.0.5"},
        {{2, 0, 1, 0}, "2.0.1"}, {{10, 20, 300, 65535}, "10.20.300.65535"},
    };
    for (const auto& example : examples)
        EXPECT_EQ(example.text, narrow(hub::formatVersion(example.parts)));
}

TEST(BuildTimeText, IsTheFileCreationTimeInUtc)
{
    const auto file = std::filesystem::temp_directory_path() / ("tolvanu-buildtime-" + std::to_string(std::rand()));
    std::ofstream(file) << "x";
    const std::string text = narrow(hub::buildTimeTextOf(vcore::str(file.u16string().c_str())));
    std::filesystem::remove(file);
    const long off = secondsFromNow(text);
    EXPECT_TRUE(off >= 0 && off < 60) << text;

    EXPECT_EQ("", narrow(hub::buildTimeTextOf(u"no such folder/tolvanu")));
}

TEST(BuildTimeText, FormatsDayFirstWithLeadingZeros)
{
    vcore::calendartime time;
    time.year = 2011;
    time.month = 1;
    time.day = 2;
    time.hour = 3;
    time.minute = 4;
    time.second = 5;
    EXPECT_EQ("02.01.2011 03:04:05", narrow(hub::formatBuildTime(time)));
}

TEST(StartBanner, NamesVersionAndBuildTime)
{
    const std::string banner = narrow(Tolvanu::banner());
    EXPECT_EQ("Tolvanu " + narrow(hub::versionText()) + " (build: " + narrow(hub::buildTimeText()) + ")", banner);
    EXPECT_TRUE(std::regex_search(banner, std::regex(R"(\(build: \d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d\)$)"))) << banner;
}

} // namespace
