#include "hub/logring.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "hub/tolvanu_com.h"

namespace {

vcore::str line(int n)
{
    vcore::str text(32);
    text.format(u"line %d", n);
    return text;
}

std::u16string text(const vcore::str& s) { return std::u16string(s.data(), size_t(s.length())); }

TEST(LogRing, FirstLineLandsInSlotOneAndTheNewestIsAtTheCounter)
{
    hub::logring ring;
    EXPECT_EQ(0u, ring.counter());
    EXPECT_TRUE(ring.newest(0).empty());
    ring.add(line(1));
    EXPECT_EQ(1u, ring.counter());
    EXPECT_EQ(u"line 1", text(ring.slot(1)));
    EXPECT_TRUE(ring.slot(0).empty());

    for (int n = 2; n <= 51; ++n)
        ring.add(line(n));
    EXPECT_EQ(51u, ring.counter());
    EXPECT_EQ(u"line 51", text(ring.slot(1))) << "line 51 took the place of line 1";
    EXPECT_EQ(u"line 50", text(ring.slot(0)));
    EXPECT_EQ(u"line 51", text(ring.newest(0)));
    EXPECT_EQ(u"line 2", text(ring.newest(49)));
    EXPECT_TRUE(ring.newest(50).empty());
    EXPECT_TRUE(ring.newest(-1).empty());
}

TEST(LogRing, NewestCountsOnlyLinesAdded)
{
    hub::logring ring;
    ring.add(line(1));
    ring.add(line(2));
    EXPECT_EQ(u"line 2", text(ring.newest(0)));
    EXPECT_EQ(u"line 1", text(ring.newest(1)));
    EXPECT_TRUE(ring.newest(2).empty());
}

// Records what the default hooks raise.
class listener : public vcore::vObject {
public:
    void onLog(void* arg) { lines += text(*static_cast<vcore::str*>(arg)) + u"|"; }
    void onOnline() { ++online; }
    std::u16string lines;
    int online = 0;
};

TEST(HubLog, LinesGoToTheRingAndRaiseOnLog)
{
    Tolvanu_Com com;
    listener ear;
    com.addHandler(u"onLog", &ear, &listener::onLog);
    com.addHandler(u"onOnline", &ear, &listener::onOnline);
    EXPECT_TRUE(com.log(u"first"));
    EXPECT_TRUE(com.log(u"second"));
    com.onOnline();
    EXPECT_EQ(u"first|second|", ear.lines);
    EXPECT_EQ(1, ear.online);
    EXPECT_EQ(u"second", text(com.ring().newest(0)));
}

// Holds the log lock inside onLog for as long as a line asks for it.
class slowConsole : public Tolvanu_Com {
public:
    void onLog(const vcore::str& text) override
    {
        if (text == u"slow") {
            inside = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
    }
    std::atomic<bool> inside{false};
};

TEST(HubLog, LineIsDroppedWhenTheLockStaysTakenForASecond)
{
    slowConsole com;
    std::thread holder([&] { com.log(u"slow"); });
    while (!com.inside)
        std::this_thread::yield();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(com.log(u"dropped"));
    const auto waited = std::chrono::steady_clock::now() - start;
    holder.join();
    EXPECT_GE(waited, std::chrono::milliseconds(900));
    EXPECT_EQ(1u, com.ring().counter());
    EXPECT_TRUE(com.log(u"kept"));
    EXPECT_EQ(u"kept", text(com.ring().newest(0)));
}

} // namespace
