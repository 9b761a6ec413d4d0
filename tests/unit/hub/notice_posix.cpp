// The message a second copy shows: a line on stderr, and a dialog when there is a display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "hub/notice.h"
#include "tests/support/fakezenity_posix.h"

namespace {

namespace fs = std::filesystem;

class Notice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(zenity.ready()); }

    // What showNotice wrote on stderr.
    static std::string show(const char16_t* text)
    {
        ::testing::internal::CaptureStderr();
        hub::showNotice(vcore::str(text), vcore::str(u"Tolvanu"));
        return ::testing::internal::GetCapturedStderr();
    }

    testenv::fakeZenity zenity;
};

TEST_F(Notice, WithADisplayTheLineAlsoGoesToADialogThatIsWaitedFor)
{
    setenv("FAKE_ZENITY_SLEEP", "1", 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ("Another instance of Tolvanu is running!\n", show(u"Another instance of Tolvanu is running!"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900)) << "returned before dismissal";
    const std::vector<std::string> expected = {"--info", "--no-markup", "--title=Tolvanu",
                                               "--text=Another instance of Tolvanu is running!"};
    EXPECT_EQ(expected, zenity.arguments());
}

TEST_F(Notice, TextReachesTheDialogAsOneLiteralArgument)
{
    const std::string owned = (zenity.folder() / "owned").string();
    const std::u16string text = u"$(touch " + fs::path(owned).u16string() + u")<b>x</b> --title=y";
    show(text.c_str());
    const std::vector<std::string> args = zenity.arguments();
    ASSERT_EQ(4u, args.size());
    EXPECT_EQ("--text=$(touch " + owned + ")<b>x</b> --title=y", args[3]);
    EXPECT_FALSE(fs::exists(owned)) << "no shell ever saw the text";
}

TEST_F(Notice, WithoutADisplayOrWithoutZenityOnlyTheLineIsShown)
{
    unsetenv("DISPLAY");
    EXPECT_EQ("first\n", show(u"first"));
    EXPECT_TRUE(zenity.arguments().empty());

    setenv("DISPLAY", ":99", 1);
    zenity.remove();
    EXPECT_EQ("second\n", show(u"second"));
    EXPECT_TRUE(zenity.arguments().empty());
}

} // namespace
