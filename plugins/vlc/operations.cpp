#include "plugins/vlc/operations.h"

#include <algorithm>
#include <cstddef>

#include "plugins/common/mediaargs.h"
#include "plugins/common/mediagreeting.h"
#include "plugins/common/mediareports.h"
#include "plugins/common/textview.h"
#include "plugins/vlc/vlccommands.h"

namespace vlc {

using media::mediaCommand;

bool operations::run(mediaCommand command, const vcore::str& argument)
{
    switch (command) {
    case mediaCommand::setVolume: setVolume(media::argumentReal(argument)); return true;
    case mediaCommand::addVolume: addVolume(media::argumentReal(argument)); return true;
    case mediaCommand::setPos: setPos(media::argumentReal(argument)); return true;
    case mediaCommand::addPos: addPos(media::argumentReal(argument)); return true;
    case mediaCommand::setTrack: setTrack(media::argumentInt(argument)); return true;
    case mediaCommand::play: play(); return true;
    case mediaCommand::pause: pause(); return true;
    case mediaCommand::prev: prev(); return true;
    case mediaCommand::next: next(); return true;
    case mediaCommand::stop: stop(); return true;
    case mediaCommand::setShuffle: setShuffle(media::argumentInt(argument)); return true;
    case mediaCommand::setRepeat: setRepeat(media::argumentInt(argument)); return true;
    case mediaCommand::search: search(argument); return true;
    case mediaCommand::init: init(argument); return true;
    case mediaCommand::getComplete: getComplete(argument); return true;
    case mediaCommand::getList: getList(); return true;
    case mediaCommand::getShortlist: getShortlist(media::argumentInt(argument)); return true;
    case mediaCommand::getState: getState(); return true;
    default: return false;
    }
}

void operations::setVolume(double percent)
{
    if (stateLock lock{shell_, lockWaitMs})
        changeVolume(percent);
}

void operations::addVolume(double change)
{
    if (stateLock lock{shell_, lockWaitMs})
        changeVolume(state_.volume + change);
}

void operations::changeVolume(double percent)
{
    // Below 0 would read as "no volume pending".
    percent = std::max(percent, 0.0);
    state_.pendingVolume = percent;
    if (!state_.isPlaying())
        return;
    state_.volume = percent;
    command(volumeCommand(percent));
}

void operations::setPos(double percent)
{
    stateLock lock{shell_, lockWaitMs};
    if (lock && state_.length > 0)
        seekTo(state_.length * percent / 100.0);
}

void operations::addPos(double seconds)
{
    stateLock lock{shell_, lockWaitMs};
    if (lock)
        seekTo((state_.hasPendingSeek() ? state_.pendingSeek : state_.time) + seconds);
}

void operations::seekTo(double seconds)
{
    // Before the start means the start; below 0 would read as "no seek pending".
    state_.pendingSeek = std::max(seconds, 0.0);
    if (state_.isPlaying())
        command(seekCommand(state_.pendingSeek));
    positionReport(state_.pendingSeek);
}

void operations::setTrack(int32_t index)
{
    if (stateLock lock{shell_, lockWaitMs})
        track(index);
}

void operations::track(int32_t index)
{
    state_.pendingSeek = -1;
    ensurePlaying();
    if (command(gotoCommand(index)))
        state_.titleRefreshNeeded = true;
    listRefresh(true);
}

void operations::play()
{
    stateLock lock{shell_, lockWaitMs};
    if (!lock)
        return;
    const bool wasPlaying = state_.isPlaying();
    command(state_.playState == stopped ? playCommand : pauseCommand);
    if (wasPlaying)
        return;
    if (state_.hasPendingVolume() && state_.pendingVolume != state_.volume) {
        state_.volume = state_.pendingVolume;
        command(volumeCommand(state_.volume));
    }
    if (state_.hasPendingSeek() && state_.pendingSeek != state_.time) {
        state_.time = state_.pendingSeek;
        command(seekCommand(state_.time));
    }
    state_.pendingVolume = -1;
    state_.pendingSeek = -1;
}

void operations::pause()
{
    command(pauseCommand);
}

void operations::prev()
{
    step(prevCommand);
}

void operations::next()
{
    step(nextCommand);
}

void operations::step(const char16_t* text)
{
    stateLock lock{shell_, lockWaitMs};
    if (!lock)
        return;
    state_.pendingSeek = -1;
    ensurePlaying();
    command(text);
    state_.titleRefreshNeeded = true;
    listRefresh(true);
    timeReport(true);
}

void operations::stop()
{
    stateLock lock{shell_, lockWaitMs};
    if (!lock)
        return;
    if (state_.playState == paused)
        ensurePlaying();
    if (state_.playState != stopped)
        command(stopCommand);
    state_.titleRefreshNeeded = true;
}

void operations::ensurePlaying()
{
    if (state_.playState == paused)
        command(pauseCommand);
    else if (state_.playState == stopped)
        command(playCommand);
}

// VLC's confirming "Setting ..." line brings the report.
void operations::setShuffle(int32_t value)
{
    command(randomCommand(media::switchArgument(value, state_.shuffle) != 0));
}

void operations::setRepeat(int32_t value)
{
    command(loopCommand(media::switchArgument(value, state_.repeat) != 0));
}

void operations::search(const vcore::str& text)
{
    int32_t index = -1;
    if (stateLock lock{shell_, longLockWaitMs})
        index = searchIndex(text);
    if (index >= 0)
        setTrack(index);
}

int32_t operations::searchIndex(const vcore::str& text) const
{
    vcore::str wanted(text);
    wanted.toLower();
    int32_t first = -1;
    for (size_t i = 0; i < state_.list.size() && i < size_t(INT32_MAX); ++i) {
        vcore::str entry(state_.list[i]);
        entry.toLower();
        if (media::findText(entry.view(), wanted.view()) < 0)
            continue;
        if (int32_t(i) > state_.trackIndex)
            return int32_t(i);
        if (first < 0)
            first = int32_t(i);
    }
    return first;
}

void operations::init(const vcore::str& address)
{
    const bool answered = media::greetingAnswered(
        address, [this](uint32_t a) { return shell_.isOwnAddress(a); });
    if (!answered)
        return;
    report(media::appReport(shell_.computerName(), u"VLC"));
    command(loopCommand(false));
    command(randomCommand(false));
    state_.listRefreshNeeded = true;
}

} // namespace vlc
