#pragma once
#include "vcore/strview.h"

// The commands of the "system" protocol and which of them act on the PC.
namespace systemctl {

enum class systemCommand {
    keyDown, keyUp, steps, move,
    leftDown, leftUp, rightDown, rightUp, middleDown, middleUp,
    wheel, beep,
    setVolume, addVolume, init, getState, pin,
    unknown,
};

// The single-letter and mouse commands match exactly; only then is the name lowered
// (A-Z only) and compared with the "system." ones.
systemCommand commandNamed(vcore::strview name);

// Whether the command acts on this PC, and so only for a client the hub let in.
bool needsSession(systemCommand command);

} // namespace systemctl
