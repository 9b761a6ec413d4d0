// The question as a message box, answered by pressing its buttons as a person would.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "hub/access/linegate.h"
#include "hub/access/userquestion.h"

namespace {

using namespace std::chrono_literals;
using hub::answer;

HWND waitForBox()
{
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (HWND box = FindWindowW(L"#32770", L"Tolvanu SECURITY"))
            return box;
        std::this_thread::sleep_for(20ms);
    }
    return nullptr;
}

bool boxGone()
{
    for (int i = 0; i < 100 && FindWindowW(L"#32770", L"Tolvanu SECURITY"); ++i)
        std::this_thread::sleep_for(20ms);
    return FindWindowW(L"#32770", L"Tolvanu SECURITY") == nullptr;
}

class MessageBoxQuestion : public ::testing::Test {
protected:
    std::future<answer> ask(const char16_t* question)
    {
        return std::async(std::launch::async, [this, question] { return asker.ask(vcore::str(question)); });
    }

    hub::linegate gate{[](const vcore::str&) {}};
    hub::userquestion asker{gate};
};

TEST_F(MessageBoxQuestion, ShowsTheQuestionWithYesAndNoOnTop)
{
    auto asked = ask(u"Do you want to give access to Laptop?");
    const HWND box = waitForBox();
    ASSERT_TRUE(box);
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    EXPECT_EQ(std::wstring(L"Do you want to give access to Laptop?"), text);
    EXPECT_TRUE(GetDlgItem(box, IDYES));
    EXPECT_TRUE(GetDlgItem(box, IDNO));
    EXPECT_FALSE(GetDlgItem(box, IDCANCEL));
    EXPECT_FALSE(GetWindow(box, GW_OWNER)) << "no owner window";
    EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) << "system-modal";
    EXPECT_EQ(std::future_status::timeout, asked.wait_for(100ms)) << "it waits for the user";

    SendMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
    ASSERT_EQ(std::future_status::ready, asked.wait_for(10s));
    EXPECT_EQ(answer::yes, asked.get());
    EXPECT_TRUE(boxGone());
}

TEST_F(MessageBoxQuestion, NoIsNo)
{
    auto asked = ask(u"Do you want to give access to Phone?");
    const HWND box = waitForBox();
    ASSERT_TRUE(box);
    SendMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    ASSERT_EQ(std::future_status::ready, asked.wait_for(10s));
    EXPECT_EQ(answer::no, asked.get());
}

TEST_F(MessageBoxQuestion, CancelClosesTheBoxWithNoAndAsksNoMore)
{
    auto asked = ask(u"Do you want to give access to Phone?");
    ASSERT_TRUE(waitForBox());
    asker.cancel();
    ASSERT_EQ(std::future_status::ready, asked.wait_for(10s));
    EXPECT_EQ(answer::no, asked.get());
    EXPECT_TRUE(boxGone());

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(answer::no, asker.ask(vcore::str(u"Do you want to give access to Phone?")));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "answered without a box";
}

} // namespace
