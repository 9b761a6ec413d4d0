#include "plugins/wmp12/tolvanu_wmp.h"

#include <algorithm>

#include <windows.h>

#include "plugins/common/mediaargs.h"
#include "plugins/common/mediacommand.h"
#include "plugins/common/mediagreeting.h"
#include "plugins/common/mediaposition.h"
#include "plugins/common/mediareports.h"
#include "plugins/common/wholenumber.h"
#include "vcore/computername.h"
#include "vnet/address.h"

namespace {

constexpr int32_t playingState = 3;
// The running player's top-level window.
constexpr const wchar_t* skinHostClass = L"WMP Skin Host";

using media::mediaCommand;

bool isStateRequest(mediaCommand command)
{
    return command == mediaCommand::getComplete || command == mediaCommand::getList ||
           command == mediaCommand::getShortlist || command == mediaCommand::getState;
}

// An object the member answered, held by a wrapper; false when there is none.
bool objectOf(const vwin::variant& value, vwin::iDispatch& into)
{
    if (value.vt != VT_DISPATCH || !value.pdispVal)
        return false;
    return into.attach(value.pdispVal);
}

vcore::str textOf(const VARIANT& value, int32_t limit)
{
    if (value.vt != VT_BSTR || !value.bstrVal)
        return vcore::str();
    const int32_t length = int32_t(std::min<UINT>(SysStringLen(value.bstrVal), UINT(limit)));
    return vcore::str(reinterpret_cast<const char16_t*>(value.bstrVal), length);
}

vcore::str itemInfo(vwin::iDispatch& item, const char16_t* attribute)
{
    vwin::variant result;
    vwin::variant args[1] = {vwin::variant::text(attribute)};
    if (!item.call(u"getItemInfo", &result, args, 1))
        return vcore::str();
    return textOf(result, Tolvanu_WMP::maxTitleLength);
}

// "Artist - Title", or whichever of the two is there.
vcore::str displayTitle(vwin::iDispatch& item)
{
    const vcore::str artist = itemInfo(item, u"Artist");
    const vcore::str title = itemInfo(item, u"Title");
    vcore::str shown(artist);
    if (!artist.empty() && !title.empty())
        shown.append(u" - ");
    shown.append(title);
    return shown.mid(0, Tolvanu_WMP::maxTitleLength);
}

} // namespace

Tolvanu_WMP::Tolvanu_WMP() : session(u"media.WMP12")
{
    titles_.reserve(256);
    thread_.setFarewell([this] { dropPlayer(); });
}

Tolvanu_WMP::~Tolvanu_WMP()
{
    // The port's worker first, then the thread that lets go of the control.
    close();
    thread_.shutdown(releaseWaitMs);
}

bool Tolvanu_WMP::attached() const
{
    return attached_;
}

bool Tolvanu_WMP::prepare()
{
    return thread_.ensureStarted();
}

bool Tolvanu_WMP::present()
{
    if (!thread_.ensureStarted())
        return false;
    // No player: answered here, not behind whatever the control's thread is busy with.
    if (!FindWindowW(skinHostClass, nullptr)) {
        thread_.perform([this] { dropPlayer(); }, 0);
        return false;
    }
    auto found = std::make_shared<std::atomic<bool>>(false);
    const auto ran = thread_.perform([this, found] { *found = check(); }, createWaitMs);
    return ran == wmp::playerThread::outcome::done && *found;
}

// Availability: the player runs (its skin host window exists) and its control says 12 or later.
bool Tolvanu_WMP::check()
{
    dropPlayer();
    if (!FindWindowW(skinHostClass, nullptr))
        return false;
    player_ = std::make_unique<vwin::iMediaPlayer>();
    attached_ = true;
    if (!player_->created())
        return false;  // kept until the next check or release, as a half-made player
    if (vwin::toInt(player_->get(u"versionInfo")) >= 12)
        return true;
    dropPlayer();
    return false;
}

void Tolvanu_WMP::dropPlayer()
{
    attached_ = false;
    player_.reset();
}

void Tolvanu_WMP::releasePlayer()
{
    // Connect calls this after freeing the lock; close without it. Past the wait it goes on.
    const bool held = stateLock().wait(releaseLockWaitMs);
    // Queued behind any running command, so the two never overlap.
    thread_.perform([this] { dropPlayer(); }, releaseWaitMs);
    if (held)
        stateLock().release();
}

bool Tolvanu_WMP::onTimeOut(vcore::ioport*)
{
    if (polling_)
        poll();
    return true;
}

void Tolvanu_WMP::poll()
{
    // A poll still waiting on a slow control is not joined by another.
    if (pollPending_.exchange(true))
        return;
    if (stateLock().wait(lockWaitMs)) {
        const auto ran = thread_.perform(
            [this] {
                if (player_) {
                    stateReport(false);
                    volumeReport(false);
                    listReport(false);
                    positionReport(false);
                }
                pollPending_ = false;
            },
            callWaitMs);
        // A poll never queued never clears the flag itself.
        if (ran == wmp::playerThread::outcome::refused)
            pollPending_ = false;
        stateLock().release();
    } else {
        pollPending_ = false;
    }
}

bool Tolvanu_WMP::dispatch(const vcore::str& name, const vcore::str& argument)
{
    const mediaCommand which = media::mediaCommandFromName(name.view());
    if (isStateRequest(which))
        polling_ = true;
    thread_.perform([this, name, argument] { command(name, argument); }, callWaitMs);
    return which != mediaCommand::unknown;
}

void Tolvanu_WMP::command(const vcore::str& name, const vcore::str& argument)
{
    const mediaCommand which = media::mediaCommandFromName(name.view());
    if (!player_ || !player_->created()) {
        if (which == mediaCommand::getShortlist)
            shortListReport(media::argumentInt(argument));
        return;
    }
    switch (which) {
    case mediaCommand::setVolume:
        setVolume(media::argumentReal(argument));
        volumeReport(true);
        break;
    case mediaCommand::addVolume:
        setVolume(lastVolume_ + media::argumentReal(argument));
        volumeReport(true);
        break;
    case mediaCommand::setPos:
        setPosition(double(lastDuration_) * media::argumentReal(argument) / 100.0);
        positionReport(true);
        break;
    case mediaCommand::addPos:
        setPosition(double(lastPosition_) + media::argumentReal(argument));
        positionReport(true);
        break;
    case mediaCommand::setTrack:
        setTrack(media::argumentInt(argument));
        break;
    case mediaCommand::play:
        player_->controls().call(playState() == playingState ? u"pause" : u"play", nullptr, nullptr, 0);
        stateReport(true);
        break;
    case mediaCommand::pause:
        player_->controls().call(u"pause", nullptr, nullptr, 0);
        stateReport(true);
        break;
    case mediaCommand::prev:
        player_->controls().call(u"previous", nullptr, nullptr, 0);
        break;
    case mediaCommand::next:
        player_->controls().call(u"next", nullptr, nullptr, 0);
        break;
    case mediaCommand::stop:
        player_->controls().call(u"stop", nullptr, nullptr, 0);
        stateReport(true);
        break;
    case mediaCommand::setShuffle:
        setMode(u"shuffle", media::argumentInt(argument), lastShuffle_);
        stateReport(true);
        break;
    case mediaCommand::setRepeat:
        setMode(u"loop", media::argumentInt(argument), lastRepeat_);
        stateReport(true);
        break;
    case mediaCommand::init:
        greet(argument);
        break;
    case mediaCommand::getComplete:
        volumeReport(true);
        stateReport(true);
        positionReport(true);
        shortListMode_ = !argument.empty();
        listReport(true);
        break;
    case mediaCommand::getList:
        listReport(true);
        break;
    case mediaCommand::getShortlist:
        shortListReport(media::argumentInt(argument));
        break;
    case mediaCommand::getState:
        volumeReport(true);
        positionReport(true);
        stateReport(true);
        break;
    default:
        break;
    }
}

void Tolvanu_WMP::setVolume(double volume)
{
    lastVolume_ = volume;
    player_->settings().put(u"volume", vwin::variant::real(volume / 100.0 * 100.0));
}

void Tolvanu_WMP::setPosition(double seconds)
{
    player_->controls().put(u"currentPosition", vwin::variant::real(double(float(seconds))));
}

void Tolvanu_WMP::setTrack(int32_t index)
{
    vwin::iDispatch playlist;
    if (index < 0 || !objectOf(player_->get(u"currentPlaylist"), playlist))
        return;
    vwin::variant item = playlist.getIndexed(u"item", vwin::variant::integer(index));
    if (item.vt != VT_DISPATCH || !item.pdispVal)
        return;
    const bool put = player_->controls().put(u"currentItem", item);
    item.clear();
    if (!put)
        return;
    Sleep(trackPlayDelayMs);
    player_->controls().call(u"play", nullptr, nullptr, 0);
}

void Tolvanu_WMP::setMode(const char16_t* name, int32_t argument, int32_t& last)
{
    const bool on = media::switchArgument(argument, last) != 0;
    vwin::variant args[2] = {vwin::variant::text(name), vwin::variant::boolean(on)};
    player_->settings().call(u"setMode", nullptr, args, 2);
}

int32_t Tolvanu_WMP::playState()
{
    return vwin::toInt(player_->get(u"playState"));
}

int32_t Tolvanu_WMP::mode(const char16_t* name)
{
    vwin::variant result;
    vwin::variant args[1] = {vwin::variant::text(name)};
    if (!player_->settings().call(u"getMode", &result, args, 1))
        return 0;
    return vwin::toInt(result) != 0 ? 1 : 0;
}

void Tolvanu_WMP::greet(const vcore::str& address)
{
    if (!media::greetingAnswered(address, [this](uint32_t a) { return vnet::isLocalAddress(*this, a); }))
        return;
    sendReport(media::appReport(vcore::computerName(), u"WMP12"));
}

void Tolvanu_WMP::volumeReport(bool forced)
{
    const int32_t volume = media::truncatedInt(vwin::toReal(player_->settings().get(u"volume")));
    if (!forced && double(volume) == lastVolume_)
        return;
    lastVolume_ = volume;
    sendReport(media::volumeReport(volume));
}

void Tolvanu_WMP::positionReport(bool forced)
{
    vwin::iDispatch item;
    if (!objectOf(player_->get(u"currentMedia"), item))
        return;
    const vcore::str title = displayTitle(item);
    const int32_t duration = media::truncatedInt(vwin::toReal(item.get(u"duration")));
    const int32_t position = media::truncatedInt(vwin::toReal(player_->controls().get(u"currentPosition")));
    if (forced || position != lastPosition_ || duration != lastDuration_) {
        lastPosition_ = position;
        lastDuration_ = duration;
        sendReport(media::positionReport(position, duration, media::threeDecimalPosition));
    }
    if (!forced && title == lastTitle_)
        return;
    lastTitle_ = title;
    sendReport(media::titleReport(title));
    for (size_t i = 0; i < titles_.size(); ++i) {
        if (titles_[i] == title && int32_t(i) != lastTrack_) {
            lastTrack_ = int32_t(i);
            sendReport(media::trackReport(lastTrack_));
            break;
        }
    }
}

void Tolvanu_WMP::listReport(bool forced)
{
    vwin::iDispatch playlist;
    if (!objectOf(player_->get(u"currentPlaylist"), playlist))
        return;
    // Negative counts are none; huge ones are capped, each entry costing a call.
    const int32_t count = std::clamp(vwin::toInt(playlist.get(u"count")), 0, maxListEntries);
    auto titleAt = [&](int32_t i, vcore::str& into) {
        vwin::iDispatch item;
        if (!objectOf(playlist.getIndexed(u"item", vwin::variant::integer(i)), item))
            return false;
        into = displayTitle(item);
        return true;
    };
    vcore::str first;
    titleAt(0, first);
    if (!forced && count == lastListCount_ && first == lastFirstTitle_)
        return;
    lastListCount_ = count;
    lastFirstTitle_ = first;
    titles_.clear();
    int32_t candidate = -1;
    for (int32_t i = 0; i < count; ++i) {
        vcore::str title;
        if (!titleAt(i, title))
            continue;
        if (title == lastTitle_)
            candidate = i;
        titles_.push_back(title);
    }
    if (shortListMode_) {
        if (candidate >= 0)
            lastTrack_ = candidate;
        sendReport(media::trackReport(lastTrack_));
        return;
    }
    for (const vcore::str& line : media::fullListReports(titles_))
        sendReport(line);
    if (candidate >= 0 && candidate != lastTrack_) {
        lastTrack_ = candidate;
        sendReport(media::trackReport(lastTrack_));
    }
}

void Tolvanu_WMP::shortListReport(int32_t count)
{
    // A negative count would move the window past the list's end: it shows nothing instead.
    if (shortListMode_)
        sendReport(media::shortListReport(titles_, lastTrack_, std::max(count, 0), media::vlcTitleCut));
}

void Tolvanu_WMP::stateReport(bool forced)
{
    const int32_t state = playState();
    if (forced || state != lastPlayState_) {
        lastPlayState_ = state;
        sendReport(media::speedReport(media::speedOfPlaying(state == playingState)));
    }
    const int32_t shuffle = mode(u"shuffle");
    if (shuffle != lastShuffle_) {
        lastShuffle_ = shuffle;
        sendReport(media::shuffleReport(shuffle));
    }
    const int32_t repeat = mode(u"loop");
    if (repeat != lastRepeat_) {
        lastRepeat_ = repeat;
        sendReport(media::repeatReport(repeat));
    }
}
