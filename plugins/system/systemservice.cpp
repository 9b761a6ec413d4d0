#include "plugins/system/systemservice.h"

#include <algorithm>
#include <cstdlib>

#include "plugins/common/mediaargs.h"

namespace systemctl {
namespace {

vcore::str field(const vcore::strtokens& fields, int32_t i)
{
    return vcore::str(fields.token(i));
}

int32_t number(const vcore::strtokens& fields, int32_t i)
{
    return media::argumentInt(field(fields, i));
}

// The platform keeps wheel data as 32 bits and lets the doubling wrap.
int32_t wheelData(int32_t amount)
{
    return int32_t(uint32_t(amount) * 2u);
}

} // namespace

systemService::systemService(machine& pc, outlet& out, vcore::semaphore& lock)
    : pc_(pc), out_(out), lock_(lock)
{
}

void systemService::handle(const vcore::str& text, const vcore::str& from)
{
    vcore::strtokens_var fields(u' ');
    fields.split(text);
    const systemCommand command = commandNamed(fields.token(0));
    if (!gate_.isOpen() && command != systemCommand::init && command != systemCommand::getState) {
        if (gate_.turnAway())
            out_.log(vcore::str::formatted(u"[system] commands from %s ignored: no session open",
                                           from.data()));
        return;
    }
    out_.log(vcore::str::formatted(u"[system:%s]  %s", from.data(), text.data()));
    run(command, fields);
}

void systemService::run(systemCommand command, const vcore::strtokens& fields)
{
    switch (command) {
    case systemCommand::keyDown: press(uint16_t(number(fields, 1)), false); break;
    case systemCommand::keyUp: press(uint16_t(number(fields, 1)), true); break;
    case systemCommand::steps: steps(number(fields, 1)); break;
    case systemCommand::move: pc_.moveMouse(number(fields, 1), number(fields, 2)); break;
    case systemCommand::leftDown: pc_.button(mouseButton::left, true); break;
    case systemCommand::leftUp: pc_.button(mouseButton::left, false); break;
    case systemCommand::rightDown: pc_.button(mouseButton::right, true); break;
    case systemCommand::rightUp: pc_.button(mouseButton::right, false); break;
    case systemCommand::middleDown: pc_.button(mouseButton::middle, true); break;
    case systemCommand::middleUp: pc_.button(mouseButton::middle, false); break;
    case systemCommand::wheel: pc_.wheel(wheelData(number(fields, 1))); break;
    case systemCommand::beep: pc_.beep(); break;
    case systemCommand::setVolume: changeVolume(media::argumentReal(field(fields, 1)), false); break;
    case systemCommand::addVolume: changeVolume(media::argumentReal(field(fields, 1)), true); break;
    case systemCommand::init: init(field(fields, 1)); break;
    case systemCommand::getState:
        active_ = true;
        lockedReport(true);
        break;
    case systemCommand::pin: pin(); break;
    case systemCommand::unknown: break;
    }
}

void systemService::press(uint16_t scanCode, bool up)
{
    pc_.key(scanCode, scanCode > 0xDFFF, up);
}

void systemService::steps(int32_t position)
{
    const int32_t target = position / 10;
    if (target == 0 || target == lastStep_)
        return;
    const uint16_t arrow = target > lastStep_ ? rightArrow : leftArrow;
    const int64_t presses = std::min<int64_t>(std::llabs(int64_t(target) - int64_t(lastStep_)), maxStepPresses);
    for (int64_t i = 0; i < presses; ++i) {
        press(arrow, false);
        pc_.pause(0);
        press(arrow, true);
        pc_.pause(0);
    }
    lastStep_ = target;
}

void systemService::init(const vcore::str& address)
{
    if (!address.empty() && !out_.isThisHost(address))
        return;
    vcore::str name = out_.computerName();
    out_.report(vcore::str::formatted(u"system.app %s:system control", name.data()), false);
    if (lock_.wait(lockWaitMs)) {
        current_ = -1.0;
        lock_.release();
    }
    pc_.pause(initReportDelayMs);
    lockedReport(true);
}

void systemService::pin()
{
    if (pinned_ && !pc_.windowExists(pinned_))
        pinned_ = 0;
    if (pinned_) {
        pc_.restore(pinned_);
        pinned_ = 0;
        return;
    }
    const windowId front = pc_.foregroundWindow();
    if (!front)
        return;
    pinned_ = front;
    pc_.maximise(front);
    vcore::str title = pc_.caption(front, captionRoom);
    out_.log(vcore::str::formatted(u"[system.pinned] %s", title.data()));
}

void systemService::poll()
{
    gate_.endBurst();
    if (active_)
        lockedReport(false);
}

void systemService::connect()
{
    gate_.open();
    active_ = true;
}

void systemService::close()
{
    active_ = false;
    gate_.close();
}

} // namespace systemctl
