#include "plugins/vlc/vlccommands.h"

#include <algorithm>

#include "plugins/common/textview.h"
#include "plugins/common/wholenumber.h"

namespace vlc {

vcore::str volumeCommand(double percent)
{
    return vcore::str::formatted(u"volume %d\n", int(media::truncatedInt(percent * 512.0 / 100.0)));
}

vcore::str seekCommand(double seconds)
{
    return vcore::str::formatted(u"seek %d\n", int(media::truncatedInt(seconds)));
}

vcore::str gotoCommand(int32_t index)
{
    return vcore::str::formatted(u"goto %d\n", int(std::min<int64_t>(int64_t(index) + 1, INT32_MAX)));
}

vcore::str randomCommand(bool on)
{
    return vcore::str(on ? u"random on\n" : u"random off\n");
}

vcore::str loopCommand(bool on)
{
    return vcore::str(on ? u"loop on\n" : u"loop off\n");
}

vcore::str lastCommandOf(const vcore::str& text)
{
    return vcore::str(media::trimmed(text.view(), u" \r\n\t"));
}

int32_t replyWaitMs(const vcore::str& lastCommand)
{
    return media::equalsIgnoreCase(lastCommand.view(), media::viewOf(u"playlist")) ? 1000 : 150;
}

} // namespace vlc
