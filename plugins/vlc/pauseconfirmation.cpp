#include "plugins/vlc/pauseconfirmation.h"

#include "plugins/common/textview.h"

namespace vlc {

using media::viewOf;

bool isPauseConfirmation(const vcore::str& line)
{
    return media::startsWithIgnoreCase(line.view(), viewOf(u"pause: returned "));
}

lineOutcome readPauseConfirmation(const vcore::str& line, const vcore::str& lastCommand)
{
    lineOutcome outcome;
    outcome.logLines.emplace_back(media::trimmed(line.view(), u"\r\n"));
    outcome.replyComplete = media::equalsIgnoreCase(lastCommand.view(), viewOf(u"pause"));
    return outcome;
}

} // namespace vlc
