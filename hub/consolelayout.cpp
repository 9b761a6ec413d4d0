#include "hub/consolelayout.h"

#include <algorithm>

namespace hub {

namespace {

box captionAbove(const box& element) { return {element.left, element.top - 20, 100, 20}; }

} // namespace

consolelayout layoutConsole(int width, int height)
{
    const int third = width / 3;
    consolelayout layout;
    layout.leftPanel = {0, 0, third, height};
    layout.rightPanel = {third, 0, width - third, height};
    layout.addressList = {10, 20, third - 20, height / 3 - 30};
    layout.pluginList = {10, height / 3 + 10, third - 20, height - height / 3 - 20};
    layout.messageArea = {third + 10, 20, width - third - 10, height - 30};
    layout.messagesCaption = captionAbove(layout.messageArea);
    layout.pluginsCaption = captionAbove(layout.pluginList);
    layout.addressCaption = captionAbove(layout.addressList);
    return layout;
}

rgb messageColour(int k) { return {0, std::max(0, (510 - 14 * k) / 3), std::max(0, 255 - 7 * k)}; }

int messageLines(int areaHeight)
{
    int lines = 0;
    while (lines < maxMessageLines && lineStep * lines < areaHeight)
        ++lines;
    return lines;
}

} // namespace hub
