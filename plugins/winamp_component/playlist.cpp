#include "plugins/winamp_component/playlist.h"

#include <algorithm>

#include "plugins/winamp_component/winampipc.h"

namespace winamp {

bool listLength(window& w, int32_t& count)
{
    intptr_t n = 0;
    if (!w.ipc(ipc::listLength, 0, n))
        return false;
    count = int32_t(std::clamp<intptr_t>(n, 0, maxListEntries));
    return true;
}

vcore::str listTitle(window& w, int32_t index)
{
    intptr_t address = 0;
    vcore::str title;
    if (!w.ipc(ipc::listTitle, index, address) || address == 0)
        return title;
    // Winamp's wide text (UTF-16), read in place: this code runs inside Winamp.
    const char16_t* text = reinterpret_cast<const char16_t*>(address);
    int32_t length = 0;
    while (length < maxTitleLength && text[length] != 0)
        ++length;
    title.set(text, length);
    return title;
}

bool currentTitle(window& w, vcore::str& title)
{
    char empty[1] = {0};
    char buffer[titleBufferSize] = {0};
    titleInfo record{empty, 0, 255, buffer, 255};
    intptr_t ignored = 0;
    if (!w.ipc(ipc::titleRecord, reinterpret_cast<intptr_t>(&record), ignored))
        return false;
    buffer[titleBufferSize - 1] = 0;
    title.assignNarrow(buffer);
    return true;
}

} // namespace winamp
