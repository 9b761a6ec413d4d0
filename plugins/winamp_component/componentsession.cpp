#include "plugins/winamp_component/componentsession.h"

#include <algorithm>

#include "plugins/common/mediaargs.h"
#include "plugins/common/mediamessage.h"
#include "plugins/common/mediareports.h"
#include "plugins/common/textview.h"
#include "plugins/common/wholenumber.h"
#include "plugins/winamp_component/playlist.h"
#include "plugins/winamp_component/winampipc.h"

namespace winamp {
namespace {

using media::mediaCommand;

// These match only when the client wrote them in lower case.
bool lowerCaseOnly(mediaCommand c)
{
    return c == mediaCommand::setRating || c == mediaCommand::incRating || c == mediaCommand::getComplete ||
           c == mediaCommand::getShortlist || c == mediaCommand::getState;
}

bool writtenAsIs(const vcore::str& text, const vcore::str& name)
{
    return text.length() >= name.length() && text.mid(0, name.length()).equals(name.data());
}

int32_t volumeStep(double percent)
{
    return media::truncatedInt(percent * 2.55);
}

int32_t clampedVolume(int64_t volume)
{
    return int32_t(std::clamp<int64_t>(volume, 0, 255));
}

} // namespace

componentSession::componentSession(window& w, outbox& out, vcore::semaphore& stateLock, host h)
    : window_(w), out_(out), lock_(stateLock), host_(std::move(h))
{
}

bool componentSession::ipc(int number, intptr_t wParam, intptr_t& result)
{
    return window_.ipc(number, wParam, result);
}

bool componentSession::ipc(int number, intptr_t wParam)
{
    intptr_t ignored = 0;
    return window_.ipc(number, wParam, ignored);
}

void componentSession::command(const vcore::str& text, bool fromThisHost)
{
    const media::mediaMessage message = media::splitMediaMessage(text);
    const mediaCommand c = message.command();
    if (c == mediaCommand::unknown || (lowerCaseOnly(c) && !writtenAsIs(text, message.name)))
        return;
    if (c == mediaCommand::init) {
        greet(message.argument);
        return;
    }
    if (fromThisHost)
        return;
    const vcore::str& arg = message.argument;
    switch (c) {
    case mediaCommand::getTitle: titleReport(true); break;
    case mediaCommand::getList: listReport(media::argumentInt(arg) != 0); break;
    case mediaCommand::setVolume: setVolume(clampedVolume(volumeStep(media::argumentReal(arg)))); break;
    case mediaCommand::addVolume: {
        intptr_t now = 0;
        if (ipc(ipc::volume, volumeQuery, now))
            setVolume(clampedVolume(int64_t(now) + volumeStep(media::argumentReal(arg))));
        break;
    }
    case mediaCommand::setPos: {
        intptr_t length = 0;
        if (ipc(ipc::position, positionLength, length))
            jumpTo(length < 1 ? 0.0 : media::argumentReal(arg) / 100.0 * double(length));
        break;
    }
    case mediaCommand::addPos: {
        intptr_t now = 0;
        if (ipc(ipc::position, positionNow, now))
            jumpTo(double(now) + double(media::truncatedInt(media::argumentReal(arg) * 1000.0)));
        break;
    }
    case mediaCommand::setTrack: setTrack(media::argumentInt(arg)); break;
    case mediaCommand::play: {
        intptr_t s = 0;
        if (ipc(ipc::playState, 0, s))
            pressAndPoll(s == 0 ? button::play : button::pause);
        break;
    }
    case mediaCommand::pause: pressAndPoll(button::pause); break;
    case mediaCommand::stop: pressAndPoll(button::stop); break;
    case mediaCommand::prev: pressAndPoll(button::prev); break;
    case mediaCommand::next: pressAndPoll(button::next); break;
    case mediaCommand::setShuffle:
        setSwitch(media::argumentInt(arg), ipc::getShuffle, ipc::setShuffle, state_.lastShuffle, u"media.shuffle %d");
        break;
    case mediaCommand::setRepeat:
        setSwitch(media::argumentInt(arg), ipc::getRepeat, ipc::setRepeat, state_.lastRepeat, u"media.repeat %d");
        break;
    case mediaCommand::setRating: setRating(media::argumentInt(arg)); break;
    case mediaCommand::incRating: incRating(); break;
    case mediaCommand::getComplete:
    case mediaCommand::getState:
        volumeReport(true);
        titleReport(true);
        positionReport(true);
        stateReport(true);
        if (c == mediaCommand::getComplete && arg.empty())
            listReport(true);
        break;
    case mediaCommand::getShortlist: shortListReport(media::argumentInt(arg)); break;
    case mediaCommand::close:
    case mediaCommand::done:
        state_.reset();
        out_.toBroadcast();
        break;
    case mediaCommand::search: search(arg); break;
    default: break;
    }
}

void componentSession::greet(const vcore::str& argument)
{
    if (!media::greetingAnswered(argument, host_.isOwnAddress))
        return;
    state_.reset();
    send(media::appReport(host_.computerName, u"Winamp"));
}

void componentSession::setVolume(int32_t volume)
{
    if (!ipc(ipc::volume, volume))
        return;
    // Not remembered: the next poll reports the same value once more.
    send(media::volumeReport(double(volume) * 100.0 / 255.0));
}

void componentSession::jumpTo(double target)
{
    if (ipc(ipc::jumpTo, media::truncatedInt(target)))
        positionReport(true);
}

void componentSession::setTrack(int32_t index)
{
    if (!ipc(ipc::setTrack, index))
        return;
    window_.press(button::play);
    poll();
    positionReport(true);
}

void componentSession::pressAndPoll(int id)
{
    window_.press(id);
    poll();
}

void componentSession::setSwitch(int32_t argument, int getIpc, int setIpc, int32_t& last, const char16_t* format)
{
    if (argument < 0) {
        intptr_t now = 0;
        if (!ipc(getIpc, 0, now))
            return;
        argument = now == 0 ? 1 : 0;
    }
    intptr_t r = 0;
    if (!ipc(setIpc, argument, r))
        return;
    if (int32_t(r) != last) {
        last = int32_t(r);
        send(vcore::str::formatted(format, int(r)));
    }
}

void componentSession::setRating(int32_t percent)
{
    // Winamp rates 0 to 5 stars; a percentage beyond 0..100 means the nearest end.
    const int32_t rating = std::clamp(percent / 20, 0, 5);
    if (!ipc(ipc::setRating, rating))
        return;
    intptr_t index = -1;
    if (ipc(ipc::listPosition, 0, index) && index >= 0)
        ipc(ipc::setTrack, index);
    state_.lastRating = rating;
    send(media::ratingReport(rating * 20));
}

void componentSession::incRating()
{
    intptr_t r = -1;
    if (!ipc(ipc::getRating, 0, r))
        r = -1;
    const int64_t percent = int64_t(r) * 20;
    setRating(percent >= 100 ? 0 : int32_t(percent + 20));
}

void componentSession::search(vcore::str text)
{
    int32_t count = 0;
    if (!listLength(window_, count))
        return;
    text.toLower();
    intptr_t current = -1;
    if (!ipc(ipc::listPosition, 0, current))
        current = -1;
    int32_t after = -1, first = -1;
    for (int32_t i = 0; i < count && after < 0; ++i) {
        vcore::str title = listTitle(window_, i);
        title.toLower();
        if (media::findText(title.view(), text.view()) < 0)
            continue;
        if (first < 0)
            first = i;
        if (i > current)
            after = i;
    }
    const int32_t chosen = after >= 0 ? after : first;
    if (chosen >= 0)
        setTrack(chosen);
}

void componentSession::poll()
{
    if (!lock_.wait(pollLockWaitMs))
        return;
    stateReport(false);
    volumeReport(false);
    titleReport(false);
    positionReport(false);
    lock_.release();
}

} // namespace winamp
