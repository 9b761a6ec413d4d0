// Who else reads the terminal is told when a question takes it and gives it back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hub/access/linegate.h"

namespace {

TEST(LineGateWatch, TheWatcherHearsOfTheQuestionBeforeItIsShownAndAfterItsAnswer)
{
    std::vector<std::string> seen;
    hub::linegate gate([&](const vcore::str&) { seen.push_back("line"); });
    gate.watch([&](bool open) { seen.push_back(open ? "open" : "closed"); });
    gate.hold([&] { seen.push_back("question"); });
    gate.line(vcore::str(u"held"));
    gate.release();
    EXPECT_EQ((std::vector<std::string>{"open", "question", "closed", "line"}), seen);

    gate.watch(nullptr);
    seen.clear();
    gate.hold([] {});
    gate.release();
    EXPECT_TRUE(seen.empty()) << "the watch has ended";
}

TEST(LineGateWatch, AWatcherComingDuringAQuestionHearsOfItAtOnce)
{
    hub::linegate gate([](const vcore::str&) {});
    gate.hold([] {});
    std::vector<bool> turns;
    gate.watch([&](bool open) { turns.push_back(open); });
    gate.release();
    EXPECT_EQ((std::vector<bool>{true, false}), turns);
}

} // namespace
