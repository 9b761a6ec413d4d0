// The console's layout for a window size and the fade of its log lines.
#include <gtest/gtest.h>

#include "hub/consolelayout.h"

namespace {

using hub::box;

TEST(ConsoleLayout, StartSizeAndAWideLowWindow)
{
    const hub::consolelayout start = hub::layoutConsole(600, 500);
    EXPECT_EQ((box{0, 0, 200, 500}), start.leftPanel);
    EXPECT_EQ((box{200, 0, 400, 500}), start.rightPanel);
    EXPECT_EQ((box{10, 20, 180, 136}), start.addressList);
    EXPECT_EQ((box{10, 176, 180, 314}), start.pluginList);
    EXPECT_EQ((box{210, 20, 390, 470}), start.messageArea);

    const hub::consolelayout wide = hub::layoutConsole(900, 300);
    EXPECT_EQ((box{10, 20, 280, 70}), wide.addressList);
    EXPECT_EQ((box{10, 110, 280, 180}), wide.pluginList);
    EXPECT_EQ((box{310, 20, 590, 270}), wide.messageArea);
    // Captions: 100 by 20, ending at the top edge of their element.
    EXPECT_EQ((box{310, 0, 100, 20}), wide.messagesCaption);
    EXPECT_EQ((box{10, 90, 100, 20}), wide.pluginsCaption);
    EXPECT_EQ((box{10, 0, 100, 20}), wide.addressCaption);
}

TEST(ConsoleLayout, WidthsThatDoNotDivideByThreeRoundTheLeftPanelDown)
{
    const hub::consolelayout layout = hub::layoutConsole(601, 502);
    EXPECT_EQ(200, layout.leftPanel.width);
    EXPECT_EQ(401, layout.rightPanel.width);
    EXPECT_EQ(137, layout.addressList.height);  // 502 / 3 - 30
    EXPECT_EQ(391, layout.messageArea.width);
}

TEST(MessageFade, FromLightBlueToBlackClampedWhereTheFormulaGoesNegative)
{
    EXPECT_EQ((hub::rgb{0, 170, 255}), hub::messageColour(0));
    EXPECT_EQ((hub::rgb{0, 165, 248}), hub::messageColour(1));
    EXPECT_EQ((hub::rgb{0, 2, 3}), hub::messageColour(36));
    for (int k = 37; k <= 39; ++k)
        EXPECT_EQ((hub::rgb{0, 0, 0}), hub::messageColour(k)) << k;
    for (int k = 1; k <= 37; ++k) {
        EXPECT_LE(hub::messageColour(k).green, hub::messageColour(k - 1).green) << k;
        EXPECT_LT(hub::messageColour(k).blue, hub::messageColour(k - 1).blue) << k;
    }
}

TEST(MessageFade, LinesStopAtFortyOrWhereTheNextWouldStartBelowTheArea)
{
    EXPECT_EQ(0, hub::messageLines(0));
    EXPECT_EQ(1, hub::messageLines(1));
    EXPECT_EQ(1, hub::messageLines(13));
    EXPECT_EQ(2, hub::messageLines(14));
    EXPECT_EQ(37, hub::messageLines(470));  // the start size: line 36 starts at 468
    EXPECT_EQ(40, hub::messageLines(520));
    EXPECT_EQ(40, hub::messageLines(5000));
}

} // namespace
