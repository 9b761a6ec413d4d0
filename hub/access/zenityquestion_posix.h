#pragma once
#include <chrono>

#include "hub/access/userquestion.h"
#include "vcore/str.h"

namespace hub {

// Asks in a zenity dialog, the question passed as plain text in zenity's own argument list
// (no shell, no markup). Yes only when zenity ends with 0; the dialog is closed and the answer
// is no when the time-out passes or cancel (when not -1) becomes readable. Unasked when zenity
// cannot be started.
answer askWithZenity(const vcore::str& question, int cancel, std::chrono::milliseconds limit);

// DISPLAY or WAYLAND_DISPLAY is set.
bool displayPresent();

} // namespace hub
