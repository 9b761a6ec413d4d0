#pragma once
#include <cstdint>

#include "plugins/common/mediacommand.h"
#include "plugins/vlc/vlcshell.h"
#include "plugins/vlc/vlcstate.h"
#include "vcore/str.h"

// The media commands and the periodic poll carried out on VLC over the shell, on the
// remembered state. Each operation takes the state lock itself where it needs it.
namespace vlc {

class operations {
public:
    static constexpr int32_t lockWaitMs = 1000;
    static constexpr int32_t longLockWaitMs = 2000;  // poll and search

    operations(vlcState& state, vlcShell& shell) : state_(state), shell_(shell) {}

    // Runs a client command; false for one VLC does not support (ignored without a reply).
    bool run(media::mediaCommand command, const vcore::str& argument);
    // The session port's time-out: reports what changed, while the session is active.
    void poll();

    void setVolume(double percent);
    void addVolume(double change);
    void setPos(double percent);
    void addPos(double seconds);
    void setTrack(int32_t index);
    void play();
    void pause();
    void prev();
    void next();
    void stop();
    void setShuffle(int32_t value);
    void setRepeat(int32_t value);
    void search(const vcore::str& text);
    void init(const vcore::str& address);
    void getComplete(const vcore::str& argument);
    void getList();
    void getShortlist(int32_t count);
    void getState();

    // The list entry a search for text picks: the first match after the current track, else the
    // first match; -1 for none. A-Z case is ignored.
    int32_t searchIndex(const vcore::str& text) const;

private:
    void changeVolume(double percent);
    void seekTo(double seconds);
    void track(int32_t index);
    void step(const char16_t* command);
    void ensurePlaying();
    void listRefresh(bool forced);
    void timeReport(bool forced);
    void titleReport(bool forced);
    void trackFromTitle();
    void stateDump();
    void positionReport(double position);
    void sendList();
    void report(const vcore::str& text) { shell_.sendReport(text); }
    bool command(const vcore::str& text) { return shell_.sendCommand(text); }
    bool command(const char16_t* text) { return shell_.sendCommand(vcore::str(text)); }

    vlcState& state_;
    vlcShell& shell_;
};

} // namespace vlc
