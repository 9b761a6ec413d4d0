// The operations behind the media commands and the poll. All of it runs in the apartment that
// owns the player's objects; the state lock keeps it apart from the hub's connect.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <string_view>
#include <thread>

#include "plugins/common/mediaargs.h"
#include "plugins/common/mediacommand.h"
#include "plugins/common/mediagreeting.h"
#include "plugins/common/mediaposition.h"
#include "plugins/common/mediareports.h"
#include "plugins/common/wholenumber.h"
#include "plugins/itunes/tolvanu_itunes.h"
#include "vcore/strchars.h"
#include "vnet/address.h"

namespace {

using vwin::variant;

// A list larger than this is taken as this long: the count comes from another program.
constexpr int32_t maxListEntries = 100000;

class lockTry {
public:
    lockTry(vcore::semaphore& s, uint32_t ms) : s_(s), held_(s.wait(ms)) {}
    ~lockTry() { unlock(); }
    explicit operator bool() const { return held_; }
    void unlock()
    {
        if (held_)
            s_.release();
        held_ = false;
    }

private:
    vcore::semaphore& s_;
    bool held_;
};

void foldAZ(vcore::str& text)
{
    for (int32_t i = 0; i < text.length(); ++i)
        text[i] = vcore::chars::lower(text[i]);
}

bool sameFolded(vcore::str a, vcore::str b)
{
    foldAZ(a);
    foldAZ(b);
    return a == b;
}

std::u16string_view viewOf(const vcore::str& text)
{
    return std::u16string_view(text.data(), size_t(text.length()));
}

} // namespace

bool Tolvanu_iTunes::attachKind(object& o, const VARIANT& from, kind k)
{
    if (from.vt != VT_DISPATCH || !from.pdispVal)
        return false;
    object& model = models_[k];
    if (model.memberCount() == 0) {
        if (!model.attach(from.pdispVal))
            return false;
        model.reset();  // only its member table is kept
    }
    return o.attachLike(from.pdispVal, model);
}

bool Tolvanu_iTunes::child(object& parent, const char16_t* member, object& out, kind k)
{
    const variant v = parent.get(member);
    return attachKind(out, v, k);
}

bool Tolvanu_iTunes::childAt(object& parent, const char16_t* member, int32_t index, object& out, kind k)
{
    const variant v = parent.getIndexed(member, variant::integer(index));
    return attachKind(out, v, k);
}

int Tolvanu_iTunes::currentTrack(object& track)
{
    const variant v = app_.get(u"CurrentTrack");
    if (v.empty())
        return -1;
    return attachKind(track, v, trackKind) ? 1 : 0;
}

bool Tolvanu_iTunes::playlist(object& list)
{
    return child(app_, u"CurrentPlaylist", list, playlistKind) ||
           child(app_, u"LibraryPlaylist", list, playlistKind);
}

bool Tolvanu_iTunes::readInt(object& o, const char16_t* member, int32_t& value)
{
    const variant v = o.get(member);
    if (v.empty())
        return false;
    value = vwin::toInt(v);
    return true;
}

// Artist " - " name, or the name alone; then UTF-8, one unit per byte.
vcore::str Tolvanu_iTunes::titleOf(object& track)
{
    const variant name = track.get(u"Name");
    const variant artist = track.get(u"Artist");
    vcore::str title;
    if (artist.vt == VT_BSTR && artist.bstrVal && artist.bstrVal[0]) {
        title.set(reinterpret_cast<const char16_t*>(artist.bstrVal), int32_t(SysStringLen(artist.bstrVal)));
        title.append(u" - ");
    }
    if (name.vt == VT_BSTR && name.bstrVal)
        title.append(reinterpret_cast<const char16_t*>(name.bstrVal), int32_t(SysStringLen(name.bstrVal)));
    title.toUtf8();
    return title;
}

void Tolvanu_iTunes::deliver(const vcore::str& text, bool logged)
{
    if (logged) {
        sendReport(text);
        return;
    }
    vcore::str bytes(text);
    const vcore::str to = remoteText();
    uint32_t count = 0;
    if (isOpen())
        writeTo(to.data(), bytes.narrow(), uint32_t(bytes.length()), count);
}

void Tolvanu_iTunes::command(const vcore::str& name, const vcore::str& argument)
{
    using media::mediaCommand;
    if (!app_)
        return;
    switch (media::mediaCommandFromName(name.view())) {
    case mediaCommand::setVolume: volume(media::argumentReal(argument), false); break;
    case mediaCommand::addVolume: volume(media::argumentReal(argument), true); break;
    case mediaCommand::setPos: position(media::argumentReal(argument), false); break;
    case mediaCommand::addPos: position(media::argumentReal(argument), true); break;
    case mediaCommand::setTrack: track(media::argumentInt(argument)); break;
    case mediaCommand::play: playToggle(); break;
    case mediaCommand::pause: transport(u"Pause", u"media.speed 0.0"); break;
    case mediaCommand::stop: transport(u"Stop", u"media.speed 0"); break;
    case mediaCommand::prev: transport(u"PreviousTrack", nullptr); break;
    case mediaCommand::next: transport(u"NextTrack", nullptr); break;
    case mediaCommand::setShuffle: shuffle(media::argumentInt(argument)); break;
    case mediaCommand::setRepeat: repeat(media::argumentInt(argument)); break;
    case mediaCommand::search: search(argument); break;
    case mediaCommand::setRating: setRating(media::argumentInt(argument)); break;
    case mediaCommand::incRating: incRating(); break;
    case mediaCommand::init: greet(argument); break;
    case mediaCommand::getComplete:
        volumeReport(true);
        stateReport(true);
        positionReport(true);
        titleReport(true);
        listReport(true);
        break;
    case mediaCommand::getList: listReport(true); break;
    case mediaCommand::getShortlist: shortList(media::argumentInt(argument)); break;
    case mediaCommand::getState:
        volumeReport(true);
        titleReport(true);
        positionReport(true);
        stateReport(true);
        break;
    default: break;
    }
}

void Tolvanu_iTunes::pollNow()
{
    if (!app_)
        return;
    stateReport(false);
    volumeReport(false);
    listReport(false);
    positionReport(false);
    titleReport(false);
}

void Tolvanu_iTunes::volume(double value, bool add)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    int64_t wanted = media::truncatedInt(value);
    if (add) {
        int32_t now = 0;
        if (!readInt(app_, u"SoundVolume", now))
            return;
        wanted += now;
    }
    // The player's range; beyond it the player would refuse or clamp, and the report would lie.
    const int32_t v = int32_t(std::clamp<int64_t>(wanted, 0, 100));
    if (!app_.put(u"SoundVolume", variant::integer(v)))
        return;
    volume_ = v;
    deliver(media::volumeReport(v), true);
}

void Tolvanu_iTunes::position(double value, bool add)
{
    {
        lockTry lock(stateLock(), lockWaitMs);
        if (!lock)
            return;
        int64_t wanted = 0;
        if (add) {
            int32_t now = 0;
            if (!readInt(app_, u"PlayerPosition", now))
                return;
            wanted = int64_t(now) + media::truncatedInt(value);
        } else {
            object t;
            int32_t duration = 0;
            if (currentTrack(t) != 1 || !readInt(t, u"Duration", duration))
                return;
            wanted = media::truncatedInt(double(duration) * value / 100.0);
        }
        const int32_t p = int32_t(std::clamp<int64_t>(wanted, INT32_MIN, INT32_MAX));
        app_.put(u"PlayerPosition", variant::integer(p));
    }
    positionReport(true);
}

void Tolvanu_iTunes::track(int32_t index)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    object list, tracks, t;
    int32_t count = 0;
    const int64_t order = int64_t(index) + 1;
    if (!playlist(list) || !child(list, u"Tracks", tracks, tracksKind) || !readInt(tracks, u"Count", count))
        return;
    if (order < 1 || order > count)
        return;
    if (childAt(tracks, u"ItemByPlayOrder", int32_t(order), t, trackKind))
        t.call(u"Play", nullptr, nullptr, 0);
}

void Tolvanu_iTunes::playToggle()
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    int32_t state = 0;
    if (!readInt(app_, u"PlayerState", state))
        return;
    app_.call(state == 1 ? u"Pause" : u"Play", nullptr, nullptr, 0);
    std::this_thread::yield();
    if (!readInt(app_, u"PlayerState", state))
        return;
    deliver(media::speedReport(media::speedOfPlaying(state == 1)), true);
}

void Tolvanu_iTunes::transport(const char16_t* member, const char16_t* report)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    app_.call(member, nullptr, nullptr, 0);
    if (report)
        deliver(vcore::str(report), true);
}

// Sets a switch of the current playlist (n < 0 flips it) and reads it back once the player has
// taken it: 1 on, 0 off, -1 when there is no playlist or the player refused.
int32_t Tolvanu_iTunes::playlistSwitch(const char16_t* member, int32_t n, variant (*value)(bool on))
{
    object list;
    if (!playlist(list))
        return -1;
    if (n < 0) {
        int32_t now = 0;
        readInt(list, member, now);
        n = now ? 0 : 1;
    }
    const bool put = list.put(member, value(n != 0));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int32_t now = 0;
    if (!readInt(list, member, now) || !put)
        return -1;
    return now ? 1 : 0;
}

void Tolvanu_iTunes::shuffle(int32_t n)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    const int32_t on = playlistSwitch(u"Shuffle", n, [](bool on) { return variant::boolean(on); });
    if (on < 0 || on == shuffle_)
        return;
    shuffle_ = on;
    deliver(media::shuffleReport(on), true);
}

void Tolvanu_iTunes::repeat(int32_t n)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    // The player's repeat modes: 0 off, 1 one song, 2 all; "on" is all.
    const int32_t on = playlistSwitch(u"SongRepeat", n, [](bool on) { return variant::integer(on ? 2 : 0); });
    if (on < 0)
        return;
    repeat_ = on;
    deliver(media::repeatReport(on), true);
}

void Tolvanu_iTunes::setRating(int32_t r)
{
    bool done = false;
    {
        lockTry lock(stateLock(), lockWaitMs);
        if (!lock)
            return;
        object t;
        if (currentTrack(t) != 1)
            return;
        done = t.put(u"Rating", variant::integer(std::clamp(r, 20, 100)));
    }
    if (done)
        positionReport(true);
}

void Tolvanu_iTunes::incRating()
{
    bool done = false;
    {
        lockTry lock(stateLock(), lockWaitMs);
        if (!lock)
            return;
        object t;
        if (currentTrack(t) != 1)
            return;
        int32_t rating = -1;
        if (!readInt(t, u"Rating", rating))
            rating = -1;
        rating = rating > 99 ? 0 : rating + 20;
        done = t.put(u"Rating", variant::integer(rating));
    }
    if (done)
        positionReport(true);
}

void Tolvanu_iTunes::search(const vcore::str& text)
{
    int32_t found = -1;
    {
        lockTry lock(stateLock(), lockWaitMs);
        if (!lock || text.empty())
            return;
        vcore::str wanted(text);
        foldAZ(wanted);
        object t;
        int32_t current = 0;
        if (currentTrack(t) != 1 || !readInt(t, u"PlayOrderIndex", current))
            current = 0;
        current -= 1;
        for (size_t i = 0; i < list_.size(); ++i) {
            vcore::str entry(list_[i]);
            foldAZ(entry);
            if (viewOf(entry).find(viewOf(wanted)) == std::u16string_view::npos)
                continue;
            if (int32_t(i) > current) {
                found = int32_t(i);
                break;
            }
            if (found < 0)
                found = int32_t(i);
        }
    }
    if (found >= 0)
        track(found);
}

void Tolvanu_iTunes::greet(const vcore::str& argument)
{
    if (!media::greetingAnswered(argument, [this](uint32_t a) { return vnet::isLocalAddress(*this, a); }))
        return;
    if (app_)
        deliver(media::appReport(computerName(), u"iTunes"), true);
}

void Tolvanu_iTunes::positionReport(bool forced)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    int32_t position = 0, duration = 0, rating = 0;
    if (!readInt(app_, u"PlayerPosition", position))
        return;
    object t;
    if (currentTrack(t) == 1) {
        readInt(t, u"Duration", duration);
        readInt(t, u"Rating", rating);
    }
    if (forced || position != position_ || duration != duration_ || rating != rating_) {
        position_ = position;
        duration_ = duration;
        deliver(media::positionReport(position, duration, media::threeDecimalPosition), false);
    }
    if (forced || rating != rating_) {
        rating_ = rating;
        deliver(media::ratingReport(rating), true);
    }
}

void Tolvanu_iTunes::titleReport(bool forced)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    object t;
    const int has = currentTrack(t);
    if (has < 0)
        return;
    vcore::str title;
    int32_t order = 0;
    if (has == 1) {
        title = titleOf(t);
        if (!readInt(t, u"PlayOrderIndex", order))
            return;
    }
    const int32_t index = has == 1 ? order - 1 : -1;
    if (forced || !sameFolded(title, title_)) {
        title_ = title;
        deliver(media::titleReport(title), true);
    }
    if (forced || index != trackIndex_) {
        trackIndex_ = index;
        deliver(media::trackReport(index), true);
    }
}

void Tolvanu_iTunes::volumeReport(bool forced)
{
    int32_t v = 0;
    if (!readInt(app_, u"SoundVolume", v))
        return;
    if (!forced && double(v) == volume_)
        return;
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    volume_ = v;
    deliver(media::volumeReport(v), true);
}

void Tolvanu_iTunes::stateReport(bool forced)
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    int32_t state = 0;
    if (readInt(app_, u"PlayerState", state) && (forced || state != playerState_)) {
        playerState_ = state;
        deliver(media::speedReport(media::speedOfStopped(state == 0)), true);
    }
    object list;
    if (!playlist(list))
        return;
    int32_t value = 0;
    if (readInt(list, u"Shuffle", value)) {
        value = value ? 1 : 0;
        if (forced || value != shuffle_) {
            shuffle_ = value;
            deliver(media::shuffleReport(value), true);
        }
    }
    if (readInt(list, u"SongRepeat", value)) {
        value = value ? 1 : 0;
        if (forced || value != repeat_) {
            repeat_ = value;
            deliver(media::repeatReport(value), true);
        }
    }
}

bool Tolvanu_iTunes::listRefresh()
{
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return false;
    object list, tracks;
    int32_t id = 0, count = 0;
    if (!playlist(list) || !readInt(list, u"PlaylistID", id) || !child(list, u"Tracks", tracks, tracksKind) ||
        !readInt(tracks, u"Count", count))
        return false;
    count = std::clamp(count, 0, maxListEntries);
    int32_t first = -1, last = -1;
    object t;
    if (count > 0) {
        if (childAt(tracks, u"Item", 1, t, trackKind))
            readInt(t, u"PlayOrderIndex", first);
        if (childAt(tracks, u"Item", count, t, trackKind))
            readInt(t, u"PlayOrderIndex", last);
    }
    if (!listDirty_ && count == listSize_ && id == playlistId_ && first == firstOrder_ && last == lastOrder_)
        return false;
    media::titleList fresh(static_cast<size_t>(count));
    for (int32_t i = 1; i <= count; ++i) {
        // A track that cannot be had ends the list: a count that overstates goes no further.
        if (!childAt(tracks, u"Item", i, t, trackKind)) {
            fresh.resize(static_cast<size_t>(i - 1));
            break;
        }
        int32_t order = 0;
        if (!readInt(t, u"PlayOrderIndex", order))
            continue;
        if (order < 1 || order > count)
            continue;
        vcore::str title = titleOf(t);
        if (title.length() > listCut)
            title = vcore::str(title.mid(0, listCut));
        fresh[size_t(order - 1)] = std::move(title);
    }
    list_ = std::move(fresh);
    listSize_ = count;
    playlistId_ = id;
    firstOrder_ = first;
    lastOrder_ = last;
    listDirty_ = false;
    trackIndex_ = shuffle_ = repeat_ = -1;
    return true;
}

void Tolvanu_iTunes::listReport(bool forced)
{
    const bool rebuilt = listRefresh();
    lockTry lock(stateLock(), lockWaitMs);  // goes on without it
    if (!(rebuilt || forced) || !fullList_)
        return;
    const std::vector<vcore::str> reports = media::fullListReports(list_);
    for (size_t i = 0; i < reports.size(); ++i) {
        if (i == 0 || i + 1 == reports.size())
            deliver(reports[i], true);
        else
            deliver(reports[i], false);
    }
    deliver(media::trackReport(trackIndex_), true);
}

void Tolvanu_iTunes::shortList(int32_t count)
{
    listRefresh();
    lockTry lock(stateLock(), lockWaitMs);
    if (!lock)
        return;
    object t;
    int32_t order = 0;
    int32_t current = 0;
    if (currentTrack(t) == 1 && readInt(t, u"PlayOrderIndex", order))
        current = order - 1;
    deliver(media::shortListReport(list_, current, count, media::itunesTitleCut), false);
}
