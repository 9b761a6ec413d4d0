// The console lists' row order and colours.
#include <gtest/gtest.h>

#include "hub/consolerows.h"

namespace {

hub::pluginrow plugin(const char16_t* className, const char16_t* instance, bool busy = false, bool enabled = true)
{
    return {vcore::str(instance), vcore::str(className), busy, enabled};
}

TEST(ConsoleRows, PlugInsByClassThenInstanceInCodeUnitOrder)
{
    const std::vector<hub::pluginrow> host{plugin(u"system", u"system"), plugin(u"media", u"iTunes"),
                                           plugin(u"media", u"Winamp"), plugin(u"media", u"VLC"),
                                           plugin(u"Media", u"zzz"), plugin(u"media", u"VLC")};
    // Upper case before lower case; equal rows in host order.
    EXPECT_EQ((std::vector<int32_t>{4, 3, 5, 2, 1, 0}), hub::pluginRowOrder(host));
    EXPECT_TRUE(hub::pluginRowOrder({}).empty());
}

TEST(ConsoleRows, IndicatorsTextsAndSelection)
{
    const hub::rgb mark{240, 160, 0};
    const hub::rgb idle{16, 16, 16};
    const hub::rowcolours busy = hub::pluginRowColours(plugin(u"media", u"VLC", true), false);
    EXPECT_EQ(mark, busy.indicator);
    EXPECT_EQ((hub::rgb{0, 128, 192}), busy.firstText);
    EXPECT_EQ((hub::rgb{0, 160, 240}), busy.secondText);
    EXPECT_EQ((hub::rgb{48, 48, 48}), busy.background);

    const hub::rowcolours off = hub::pluginRowColours(plugin(u"media", u"VLC", false, false), true);
    EXPECT_EQ(idle, off.indicator);
    EXPECT_EQ((hub::rgb{0, 0, 0}), off.firstText);
    EXPECT_EQ((hub::rgb{0, 0, 0}), off.secondText);
    EXPECT_EQ((hub::rgb{96, 80, 48}), off.background);

    EXPECT_EQ(mark, hub::addressRowColours({vcore::str(u"1.2.3.4"), true}, false).indicator);
    EXPECT_EQ(idle, hub::addressRowColours({vcore::str(u"1.2.3.4"), false}, false).indicator);
    EXPECT_EQ((hub::rgb{0, 160, 240}), hub::addressRowColours({vcore::str(u"1.2.3.4"), false}, true).firstText);
}

} // namespace
