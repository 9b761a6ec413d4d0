#include <algorithm>
#include <cstdint>

#include "plugins/common/medialist.h"
#include "plugins/common/mediareports.h"
#include "plugins/winamp_component/componentsession.h"
#include "plugins/winamp_component/playlist.h"
#include "plugins/winamp_component/winampipc.h"

namespace winamp {
namespace {

constexpr int32_t shortTitleLength = 80;

vcore::str minutesSeconds(int64_t ms)
{
    return vcore::str::formatted(u"%d:%02d", int(ms / 60000), int((ms / 1000) % 60));
}

// Winamp rates 0 to 5; whatever else it answers is reported as it is, short of overflowing.
int32_t ratingPercent(intptr_t stars)
{
    return int32_t(std::clamp<int64_t>(int64_t(int32_t(stars)) * 20, INT32_MIN, INT32_MAX));
}

} // namespace

void componentSession::send(const vcore::str& report)
{
    if (report.length() < maxReportBytes)
        out_.send(report);
    else
        out_.send(vcore::str(report.mid(0, maxReportBytes - 1)));
}

void componentSession::stateReport(bool forced)
{
    intptr_t s = 0;
    if (!ipc(ipc::playState, 0, s))
        return;
    if (forced || int32_t(s) != state_.lastPlayState) {
        state_.lastPlayState = int32_t(s);
        const media::speedWord word = s == 1 ? media::speedWord::playing
                                      : s > 0 ? media::speedWord::paused
                                              : media::speedWord::stopped;
        send(media::speedReport(word));
    }
    intptr_t h = 0;
    if (ipc(ipc::getShuffle, 0, h) && int32_t(h) != state_.lastShuffle) {
        state_.lastShuffle = int32_t(h);
        send(media::shuffleReport(int32_t(h)));
    }
    intptr_t r = 0;
    if (ipc(ipc::getRepeat, 0, r) && int32_t(r) != state_.lastRepeat) {
        state_.lastRepeat = int32_t(r);
        send(media::repeatReport(int32_t(r)));
    }
}

void componentSession::volumeReport(bool forced)
{
    intptr_t v = 0;
    if (!ipc(ipc::volume, volumeQuery, v))
        return;
    const double x = double(v) * 100.0 / 255.0;
    if (forced || x != state_.lastVolume) {
        state_.lastVolume = x;
        send(media::volumeReport(x));
    }
}

void componentSession::titleReport(bool forced)
{
    vcore::str title;
    if (currentTitle(window_, title) && (forced || !title.equals(state_.lastTitle))) {
        state_.lastTitle = title;
        send(media::titleReport(title));
    }
    intptr_t t = 0;
    if (ipc(ipc::listPosition, 0, t) && (forced || int32_t(t) != state_.lastTrack)) {
        state_.lastTrack = int32_t(t);
        send(media::trackReport(int32_t(t)));
    }
}

void componentSession::positionReport(bool forced)
{
    intptr_t p = 0;
    if (!ipc(ipc::position, positionNow, p))
        return;
    const int32_t pos = int32_t(p);
    if (forced || pos != state_.lastPosition) {
        intptr_t l = 0;
        ipc(ipc::position, positionLength, l);
        const int64_t len = int64_t(int32_t(l));
        state_.lastPosition = pos;
        vcore::str report;
        if (len <= 0) {
            report = u"media.pos 0 ";
            report.append(minutesSeconds(pos));
        } else {
            const int64_t rem = std::max<int64_t>(len - pos, 0);
            report.format(u"media.pos %.2f ", double(pos) * 100.0 / double(len));
            report.append(minutesSeconds(pos));
            report.append(u' ');
            report.append(minutesSeconds(len));
            report.append(u" -");
            report.append(minutesSeconds(rem));
        }
        send(report);
    }
    intptr_t r = 0;
    if (ipc(ipc::getRating, 0, r) && (forced || int32_t(r) != state_.lastRating)) {
        state_.lastRating = int32_t(r);
        send(media::ratingReport(ratingPercent(r)));
    }
}

void componentSession::listReport(bool forced)
{
    int32_t n = 0;
    if (!listLength(window_, n))
        return;
    const vcore::str tail = n > 0 ? listTitle(window_, n - 1) : vcore::str();
    if (!forced && n == state_.lastListCount && tail.equals(state_.lastTailTitle))
        return;
    out_.pause(0);
    send(vcore::str(u"media.list_start"));
    state_.lastListCount = n;
    state_.lastTailTitle = tail;
    out_.pause(1);
    for (int32_t i = 0; i < n; ++i) {
        vcore::str report(u"media.list_title ");
        report.append(listTitle(window_, i));
        send(report);
        out_.pause(0);
    }
    send(vcore::str(u"media.list_end"));
}

void componentSession::shortListReport(int32_t count)
{
    int32_t entries = 0;
    if (!listLength(window_, entries))
        return;
    intptr_t current = 0;
    if (!ipc(ipc::listPosition, 0, current))
        current = 0;
    const int32_t first = media::shortListFirst(int32_t(current), count, entries);
    vcore::str report;
    report.format(u"media.shortlist %d ", int(first));
    const int64_t end = std::min<int64_t>(int64_t(first) + std::max(count, 0), entries);
    for (int64_t i = first; i < end; ++i) {
        vcore::str entry(listTitle(window_, int32_t(i)));
        if (entry.length() > shortTitleLength) {
            entry.set(entry.mid(0, shortTitleLength));
            entry.append(u"...");
        }
        entry.append(u'\t');
        // Whole entries only, as many as one datagram takes.
        if (report.length() + entry.length() >= maxReportBytes)
            break;
        report.append(entry);
    }
    send(report);
}

} // namespace winamp
