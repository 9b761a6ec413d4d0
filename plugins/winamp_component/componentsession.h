#pragma once
#include <cstdint>

#include "plugins/common/mediagreeting.h"
#include "plugins/winamp_component/outbox.h"
#include "plugins/winamp_component/reportedstate.h"
#include "plugins/winamp_component/winampwindow.h"
#include "vcore/semaphore.h"
#include "vcore/str.h"

// The component's side of the media protocol, without sockets: commands in, Winamp driven
// through its window, reports out.
namespace winamp {

// Longest report, terminator included, so that each fits one datagram.
constexpr int32_t maxReportBytes = 32768;

class componentSession {
public:
    struct host {
        vcore::str computerName;
        media::ownAddressTest isOwnAddress;
    };

    // stateLock guards the poll (waited for at most pollLockWaitMs).
    componentSession(window& w, outbox& out, vcore::semaphore& stateLock, host h);

    static constexpr uint32_t pollLockWaitMs = 100;

    // One datagram's text; fromThisHost: its sender is this computer.
    void command(const vcore::str& text, bool fromThisHost);
    // Reports what changed, when the state lock comes free in time.
    void poll();

    const reportedState& reported() const { return state_; }

    void stateReport(bool forced);
    void volumeReport(bool forced);
    void titleReport(bool forced);
    void positionReport(bool forced);
    void listReport(bool forced);
    void shortListReport(int32_t count);

private:
    bool ipc(int number, intptr_t wParam, intptr_t& result);
    bool ipc(int number, intptr_t wParam = 0);
    void send(const vcore::str& report);

    void setVolume(int32_t volume);
    void jumpTo(double target);
    void setTrack(int32_t index);
    void pressAndPoll(int button);
    void setSwitch(int32_t argument, int getIpc, int setIpc, int32_t& last, const char16_t* format);
    void setRating(int32_t percent);
    void incRating();
    void search(vcore::str text);
    void greet(const vcore::str& argument);

    window& window_;
    outbox& out_;
    vcore::semaphore& lock_;
    host host_;
    reportedState state_;
};

} // namespace winamp
