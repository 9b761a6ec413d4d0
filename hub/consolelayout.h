#pragma once

// Where the console's parts go for a window size, and the colours of the log's fade: plain
// numbers, so they can be checked without a window.
namespace hub {

struct box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const box&) const = default;
};

struct consolelayout {
    box leftPanel;
    box rightPanel;
    box addressList;
    box pluginList;
    box messageArea;
    // Each caption's box ends at the top edge of its element.
    box messagesCaption;
    box pluginsCaption;
    box addressCaption;
};

consolelayout layoutConsole(int width, int height);

struct rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    bool operator==(const rgb&) const = default;
};

// Line k of the message area (0 the newest): from RGB(0, 170, 255) towards black. Lines 37 to
// 39, where the fade goes below 0, are black.
rgb messageColour(int k);

constexpr int lineStep = 13;    // from one line's top to the next
constexpr int lineHeight = 14;  // a line's box, overlapping the next by a pixel
constexpr int maxMessageLines = 40;

// The lines drawn into a message area this tall: none starts below it, at most 40.
int messageLines(int areaHeight);

} // namespace hub
