#pragma once
#include "plugins/vlc/replyparser.h"
#include "vcore/str.h"

// VLC 3 confirms every command with "<command>: returned <code> (<message>)". For "pause",
// which toggles, the reply parser's "pause" rule would read that line as "paused" even when VLC
// resumed; the status line VLC prints beside it (before or after it, either happens) tells the
// state. Such a line is read here instead: logged, and ending the reply as the parser would.
namespace vlc {

bool isPauseConfirmation(const vcore::str& line);
lineOutcome readPauseConfirmation(const vcore::str& line, const vcore::str& lastCommand);

} // namespace vlc
