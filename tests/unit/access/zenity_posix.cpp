// The question in a dialog: a stand-in zenity on PATH records its arguments and answers with
// the exit status it is told to.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>
#include <string>
#include <vector>

#include "hub/access/linegate.h"
#include "hub/access/userquestion.h"
#include "hub/access/zenityquestion_posix.h"
#include "tests/support/fakezenity_posix.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using hub::answer;

class Zenity : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(zenity.ready()); }

    static answer ask(const char16_t* question, std::chrono::milliseconds limit = 5000ms, int cancel = -1)
    {
        return hub::askWithZenity(vcore::str(question), cancel, limit);
    }
    std::vector<std::string> arguments() const { return zenity.arguments(); }

    testenv::fakeZenity zenity;
    const fs::path& folder = zenity.folder();
};

TEST_F(Zenity, YesOnlyWhenTheDialogEndsWithZero)
{
    for (const auto& [status, given] : {std::pair{"0", answer::yes}, std::pair{"1", answer::no},
                                        std::pair{"5", answer::no}, std::pair{"255", answer::no}}) {
        setenv("FAKE_ZENITY_STATUS", status, 1);
        EXPECT_EQ(given, ask(u"Do you want to give access to Phone?")) << status;
    }
}

TEST_F(Zenity, TheQuestionIsOneLiteralArgumentWithoutMarkup)
{
    const std::string owned = (folder / "owned").string();
    const std::u16string name = u"$(touch " + fs::path(owned).u16string() + u")`id`<b>x</b>&amp;\n--title=x\x1b[2J";
    ask((u"Do you want to give access to " + name + u"?").c_str());
    const std::vector<std::string> expected = {
        "--question", "--no-markup", "--title=Tolvanu SECURITY",
        "--text=Do you want to give access to $(touch " + owned + ")`id`<b>x</b>&amp;?--title=x?[2J?"};
    EXPECT_EQ(expected, arguments());
    EXPECT_FALSE(fs::exists(owned)) << "no shell ever saw the name";
}

TEST_F(Zenity, UnansweredDialogIsClosedAndCountsAsNo)
{
    setenv("FAKE_ZENITY_SLEEP", "30", 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(answer::no, ask(u"Do you want to give access to Phone?", 300ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);

    int cancel[2];
    ASSERT_EQ(0, pipe2(cancel, O_CLOEXEC));
    auto asked = std::async(std::launch::async, [&] { return ask(u"Do you want to give access to Phone?", 60000ms, cancel[0]); });
    std::this_thread::sleep_for(200ms);
    ASSERT_EQ(1, write(cancel[1], "x", 1));
    ASSERT_EQ(std::future_status::ready, asked.wait_for(5s));
    EXPECT_EQ(answer::no, asked.get());
    close(cancel[0]);
    close(cancel[1]);
}

TEST_F(Zenity, WithoutZenityNobodyIsAsked)
{
    zenity.remove();
    EXPECT_EQ(answer::unasked, ask(u"Do you want to give access to Phone?"));
}

// The hub's question picks the terminal, then the dialog, then nobody.
class UserQuestion : public Zenity {
protected:
    void SetUp() override
    {
        Zenity::SetUp();
        // Never the developer's terminal: stdin is not one during these tests.
        savedStdin = dup(STDIN_FILENO);
        const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
        dup2(nothing, STDIN_FILENO);
        close(nothing);
    }
    void TearDown() override
    {
        dup2(savedStdin, STDIN_FILENO);
        close(savedStdin);
    }

    int savedStdin = -1;
    hub::linegate gate{[](const vcore::str&) {}};
    hub::userquestion question{gate};
};

TEST_F(UserQuestion, WithoutATerminalADisplayGetsTheDialog)
{
    setenv("FAKE_ZENITY_STATUS", "0", 1);
    EXPECT_EQ(answer::yes, question.ask(vcore::str(u"Do you want to give access to Phone?")));
    EXPECT_EQ(4u, arguments().size());
}

TEST_F(UserQuestion, WithoutATerminalOrADisplayNobodyIsAsked)
{
    unsetenv("DISPLAY");
    EXPECT_EQ(answer::unasked, question.ask(vcore::str(u"Do you want to give access to Phone?")));
    setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_EQ(answer::yes, question.ask(vcore::str(u"Do you want to give access to Phone?")));
}

TEST_F(UserQuestion, CancelledQuestionEndsTheDialogAndAsksNoMore)
{
    setenv("FAKE_ZENITY_SLEEP", "30", 1);
    auto asked = std::async(std::launch::async,
                            [this] { return question.ask(vcore::str(u"Do you want to give access to Phone?")); });
    std::this_thread::sleep_for(200ms);
    question.cancel();
    ASSERT_EQ(std::future_status::ready, asked.wait_for(5s));
    EXPECT_EQ(answer::no, asked.get());

    fs::remove(folder / "args");
    EXPECT_EQ(answer::no, question.ask(vcore::str(u"Do you want to give access to Phone?")));
    EXPECT_FALSE(fs::exists(folder / "args")) << "no dialog after the cancel";
}

} // namespace
