// The question on a terminal: what is printed, which answers let the client in, and that log
// lines and keys pressed early stay out of it. Pipes stand in for a redirected terminal, a
// pseudo-terminal for a real one.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>

#include "hub/access/linegate.h"
#include "hub/access/terminalprompt_posix.h"

namespace {

using namespace std::chrono_literals;
using hub::answer;

const std::string prompt = "Do you want to give access to Phone? [y/N] ";

void put(int fd, const std::string& bytes)
{
    ASSERT_EQ(ssize_t(bytes.size()), write(fd, bytes.data(), bytes.size()));
}

// Reads from fd until want appears in what was read, or 5 s passed; returns all that was read.
std::string readUntil(int fd, const std::string& want)
{
    std::string seen;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (seen.find(want) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0)
            continue;
        char bytes[256];
        const ssize_t got = read(fd, bytes, sizeof bytes);
        if (got <= 0)
            break;
        seen.append(bytes, size_t(got));
    }
    return seen;
}

std::string readAvailable(int fd)
{
    std::string seen;
    pollfd ready{fd, POLLIN, 0};
    char bytes[256];
    while (poll(&ready, 1, 100) > 0) {
        const ssize_t got = read(fd, bytes, sizeof bytes);
        if (got <= 0)
            break;
        seen.append(bytes, size_t(got));
    }
    return seen;
}

struct fds {
    fds() { EXPECT_EQ(0, pipe2(ends, O_CLOEXEC)); }
    ~fds()
    {
        for (int fd : ends)
            if (fd >= 0)
                close(fd);
    }
    void closeWriter()
    {
        close(ends[1]);
        ends[1] = -1;
    }
    int reader() const { return ends[0]; }
    int writer() const { return ends[1]; }
    int ends[2] = {-1, -1};
};

class TerminalQuestion : public ::testing::Test {
protected:
    answer ask(const char16_t* name, std::chrono::milliseconds limit = 5000ms)
    {
        vcore::str question(u"Do you want to give access to ");
        question.append(name);
        question.append(u'?');
        return hub::askOnTerminal({in.reader(), out.writer(), cancel.reader()}, question, gate, limit);
    }

    // Everything printed, once nothing more can come.
    std::string printed()
    {
        out.closeWriter();
        return readUntil(out.reader(), "\x04");
    }

    fds in, out, cancel;
    hub::linegate gate{[this](const vcore::str& line) {
        std::string bytes;
        for (int32_t i = 0; i < line.length(); ++i)
            bytes += char(line[i]);
        put(out.writer(), bytes + "\n");
    }};
};

TEST_F(TerminalQuestion, OnlyYOrYesInAnyCaseLetsTheClientIn)
{
    struct reply {
        const char* typed;
        answer given;
    };
    for (const reply& r : {reply{"y\n", answer::yes}, reply{"YES\n", answer::yes}, reply{" Yes \r\n", answer::yes},
                           reply{"yEs\nno\n", answer::yes}, reply{"n\n", answer::no}, reply{"\n", answer::no},
                           reply{"yess\n", answer::no}, reply{"yes please\n", answer::no},
                           reply{"y", answer::no}, reply{"", answer::no}}) {
        fds input, output;
        put(input.writer(), r.typed);
        input.closeWriter();
        const answer given = hub::askOnTerminal({input.reader(), output.writer(), -1},
                                                vcore::str(u"Do you want to give access to Phone?"), gate, 5000ms);
        EXPECT_EQ(r.given, given) << '"' << r.typed << '"';
        output.closeWriter();
        // Not a terminal: no echo ends the line, so the question ends it itself.
        EXPECT_EQ(prompt + "\n", readUntil(output.reader(), "\x04")) << '"' << r.typed << '"';
    }
}

TEST_F(TerminalQuestion, ClientNameCannotSendTheTerminalAnything)
{
    in.closeWriter();
    EXPECT_EQ(answer::no, ask(u"A\x1b]0;owned\x07" u"B\x9b" u"2J\r\nC"));
    const std::string shown = printed();
    EXPECT_EQ("Do you want to give access to A?]0;owned?B?2J??C? [y/N] \n", shown);
}

TEST_F(TerminalQuestion, UnansweredQuestionIsANoAfterTheTimeOut)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(answer::no, ask(u"Phone", 300ms));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 3s);
    EXPECT_EQ(prompt + "\n", printed());
}

TEST_F(TerminalQuestion, CancelAnswersAWaitingQuestionNo)
{
    auto asked = std::async(std::launch::async, [this] { return ask(u"Phone", 60000ms); });
    EXPECT_EQ(prompt, readUntil(out.reader(), prompt));
    put(cancel.writer(), "x");
    ASSERT_EQ(std::future_status::ready, asked.wait_for(5s));
    EXPECT_EQ(answer::no, asked.get());
}

TEST_F(TerminalQuestion, LogLinesWaitUntilTheQuestionIsAnswered)
{
    gate.line(vcore::str(u"before"));
    auto asked = std::async(std::launch::async, [this] { return ask(u"Phone"); });
    EXPECT_EQ("before\n" + prompt, readUntil(out.reader(), prompt));
    gate.line(vcore::str(u"while asking"));
    EXPECT_EQ("", readAvailable(out.reader())) << "nothing lands inside the question";
    put(in.writer(), "yes\n");
    ASSERT_EQ(std::future_status::ready, asked.wait_for(5s));
    EXPECT_EQ(answer::yes, asked.get());
    gate.line(vcore::str(u"after"));
    EXPECT_EQ("\nwhile asking\nafter\n", printed());
}

// A real terminal echoes the answer, Enter included; keys pressed before the question do not count.
class PseudoTerminal : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, openpty(&user, &tty, nullptr, nullptr, nullptr)); }
    void TearDown() override
    {
        close(user);
        close(tty);
    }
    std::future<answer> ask()
    {
        return std::async(std::launch::async, [this] {
            return hub::askOnTerminal({tty, tty, -1}, vcore::str(u"Do you want to give access to Phone?"), gate,
                                      5000ms);
        });
    }

    int user = -1;  // the master side: what a person types and sees
    int tty = -1;   // the hub's side
    hub::linegate gate{[](const vcore::str&) {}};
};

TEST_F(PseudoTerminal, KeysPressedBeforeTheQuestionAreDropped)
{
    put(user, "y\n");
    readUntil(user, "y\r\n");
    auto asked = ask();
    EXPECT_EQ(prompt, readUntil(user, prompt));
    put(user, "no\n");
    ASSERT_EQ(std::future_status::ready, asked.wait_for(5s));
    EXPECT_EQ(answer::no, asked.get());
}

TEST_F(PseudoTerminal, TheEchoedAnswerEndsTheQuestionsLine)
{
    auto asked = ask();
    EXPECT_EQ(prompt, readUntil(user, prompt));
    put(user, "YES\n");
    ASSERT_EQ(std::future_status::ready, asked.wait_for(5s));
    EXPECT_EQ(answer::yes, asked.get());
    EXPECT_EQ("YES\r\n", readAvailable(user)) << "no second line end after the echo";
}

TEST(TerminalChoice, OnlyAForegroundTerminalIsAsked)
{
    fds redirected;
    EXPECT_FALSE(hub::terminalIsOurs(redirected.reader()));
    int user = -1;
    int other = -1;
    ASSERT_EQ(0, openpty(&user, &other, nullptr, nullptr, nullptr));
    EXPECT_FALSE(hub::terminalIsOurs(other)) << "a terminal that is not this process's own";
    close(user);
    close(other);
}

} // namespace
