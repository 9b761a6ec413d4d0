// Client names, the question's text, text made safe for a terminal, and the log lines that
// wait while a question is on the terminal.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "hub/access/clientname.h"
#include "hub/access/linegate.h"
#include "hub/access/printable.h"
#include "hub/access/questiontext.h"

namespace {

std::u16string text(const vcore::str& s) { return std::u16string(s.data(), size_t(s.length())); }

TEST(ClientName, IsCutAtItsLastColon)
{
    struct sample {
        const char16_t* name;
        const char16_t* display;
        const char16_t* device;
    };
    for (const sample& s : {sample{u"Kitchen tablet:dev:0042", u"Kitchen tablet:dev", u"0042"},
                            sample{u"Laptop", u"Laptop", u"Laptop"},
                            sample{u"Phone:", u"Phone", u""},
                            sample{u":77", u"", u"77"},
                            sample{u"", u"", u""}}) {
        const hub::clientname client = hub::clientname::split(vcore::str(s.name));
        EXPECT_EQ(std::u16string(s.display), text(client.display));
        EXPECT_EQ(std::u16string(s.device), text(client.device));
    }
}

TEST(AccessQuestion, NamesTheClientWholeHoweverLong)
{
    EXPECT_EQ(u"Do you want to give access to Laptop?", text(hub::accessQuestion(vcore::str(u"Laptop"))));
    const std::u16string longName(2000, u'x');
    EXPECT_EQ(u"Do you want to give access to " + longName + u"?",
              text(hub::accessQuestion(vcore::str(longName.c_str()))));
}

TEST(Printable, ControlCharactersBecomeQuestionMarks)
{
    // ESC ] ... BEL sets a terminal's title; U+009B is the one-unit CSI.
    const char16_t hostile[] = u"A\x1b]0;owned\x07" u"B\r\n\t\x7f\x9b" u"2J\x9f\xa0\xe9\x20ac";
    EXPECT_EQ(u"A?]0;owned?B?????2J?\xa0\xe9\x20ac", text(hub::printable(vcore::str(hostile))));
    EXPECT_EQ(u"", text(hub::printable(vcore::str(u""))));
}

TEST(LineGate, LinesWaitWhileAQuestionIsShownAndFollowItInOrder)
{
    std::vector<std::string> printed;
    hub::linegate gate([&](const vcore::str& line) {
        std::string out;
        for (int32_t i = 0; i < line.length(); ++i)
            out += char(line[i]);
        printed.push_back(out);
    });
    gate.line(vcore::str(u"before"));
    gate.hold([&] { printed.push_back("question"); });
    std::thread logger([&] {
        gate.line(vcore::str(u"during 1"));
        gate.line(vcore::str(u"during 2"));
    });
    logger.join();
    EXPECT_EQ((std::vector<std::string>{"before", "question"}), printed);
    gate.release();
    gate.line(vcore::str(u"after"));
    EXPECT_EQ((std::vector<std::string>{"before", "question", "during 1", "during 2", "after"}), printed);
}

TEST(LineGate, KeepsOnlyTheNewestLinesOfALongQuestion)
{
    size_t count = 0;
    vcore::str last;
    hub::linegate gate([&](const vcore::str& line) {
        ++count;
        last = line;
    });
    gate.hold([] {});
    for (int i = 0; i < 1000; ++i) {
        const std::string digits = std::to_string(i);
        gate.line(vcore::str((u"line " + std::u16string(digits.begin(), digits.end())).c_str()));
    }
    gate.release();
    EXPECT_EQ(hub::linegate::maxHeld, count);
    EXPECT_EQ(u"line 999", text(last));
}

} // namespace
