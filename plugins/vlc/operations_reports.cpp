// The state requests, the poll and the reports they share.
#include <cstddef>

#include "plugins/common/medialist.h"
#include "plugins/common/mediaposition.h"
#include "plugins/common/mediareports.h"
#include "plugins/common/textview.h"
#include "plugins/vlc/operations.h"
#include "plugins/vlc/vlccommands.h"

namespace vlc {

void operations::getComplete(const vcore::str& argument)
{
    stateDump();
    report(media::repeatReport(state_.repeat));
    report(media::shuffleReport(state_.shuffle));
    timeReport(true);
    titleReport(true);
    state_.shortListMode = !argument.empty();
    if (!state_.shortListMode)
        listRefresh(true);
    state_.sessionActive = true;
}

void operations::getList()
{
    listRefresh(true);
    state_.sessionActive = true;
}

void operations::getShortlist(int32_t count)
{
    if (state_.shortListMode)
        report(media::shortListReport(state_.list, state_.trackIndex, count, media::vlcTitleCut));
    state_.sessionActive = true;
}

void operations::getState()
{
    stateDump();
    titleReport(true);
    timeReport(true);
    state_.sessionActive = true;
}

void operations::poll()
{
    if (!state_.sessionActive)
        return;
    stateLock lock{shell_, longLockWaitMs};
    if (!lock)
        return;
    listRefresh(false);
    titleReport(state_.length < 0);
    timeReport(state_.length < 0);
    if (state_.isPlaying() && state_.hasPendingSeek())
        state_.pendingSeek = -1;
}

void operations::listRefresh(bool forced)
{
    if (!forced && !(state_.listRefreshNeeded && state_.isPlaying()))
        return;
    command(playlistCommand);
    if (!state_.shortListMode)
        sendList();
}

void operations::timeReport(bool forced)
{
    const bool thorough = forced || state_.length < 0 || state_.time < 0;
    if (thorough)
        command(getLengthCommand);
    if (state_.isPlaying() || thorough || state_.timeRefreshNeeded) {
        command(getTimeCommand);
        state_.timeRefreshNeeded = false;
    }
    const bool seekShown = !state_.isPlaying() && state_.hasPendingSeek();
    positionReport(seekShown ? state_.pendingSeek : state_.time);
    if (thorough || (state_.trackIndex < 0 && !state_.listRefreshNeeded))
        trackFromTitle();
}

void operations::trackFromTitle()
{
    for (size_t i = 0; i < state_.list.size() && i < size_t(INT32_MAX); ++i) {
        if (media::equalsIgnoreCase(state_.list[i].view(), state_.title.view())) {
            state_.trackIndex = int32_t(i);
            report(media::trackReport(state_.trackIndex));
            return;
        }
    }
}

void operations::titleReport(bool forced)
{
    if (!forced && !state_.titleRefreshNeeded)
        return;
    command(getTitleCommand);
    report(media::titleReport(state_.title));
}

void operations::stateDump()
{
    report(media::speedReport(media::speedOfPlayState(state_.playState)));
    sendList();
    command(statusCommand);
}

void operations::positionReport(double position)
{
    if (position == state_.lastReportedPosition)
        return;
    state_.lastReportedPosition = position;
    report(media::positionReport(position, state_.length, media::vlcPosition));
}

void operations::sendList()
{
    for (const vcore::str& line : media::fullListReports(state_.list))
        report(line);
}

} // namespace vlc
