#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "plugins/common/medialist.h"
#include "plugins/common/session.h"
#include "plugins/wmp12/imediaplayer.h"
#include "plugins/wmp12/playerthread.h"
#include "vcore/str.h"

// The Windows Media Player plug-in's session: serves "media.WMP12" on a port the system
// chooses and drives the running player through its control hosted in remote mode. Every call
// on the control, every report and every stored value lives on one thread that owns the
// control (playerThread); the hub's thread and the port's worker hand their work to it and
// wait, bounded. Windows only.
class Tolvanu_WMP : public plugin::session {
public:
    static constexpr uint32_t pollMs = 990;
    static constexpr uint32_t closePauseMs = 50;
    static constexpr uint32_t releaseLockWaitMs = 1000;
    // Longest waits for the player's thread: making the control, and one command or poll.
    static constexpr uint32_t createWaitMs = 5000;
    static constexpr uint32_t callWaitMs = 2000;
    static constexpr uint32_t releaseWaitMs = 1000;
    // A playlist count beyond this is taken as this many entries.
    static constexpr int32_t maxListEntries = 10000;
    // Titles are cut to this many units, so a list entry always fits a datagram.
    static constexpr int32_t maxTitleLength = 1024;
    static constexpr uint32_t trackPlayDelayMs = 100;

    Tolvanu_WMP();
    ~Tolvanu_WMP() override;

    bool prepare() override;
    bool present() override;
    bool onTimeOut(vcore::ioport* port) override;

    bool polling() const { return polling_; }
    bool attached() const;

protected:
    uint32_t pollPeriod() const override { return pollMs; }
    uint32_t closePause() const override { return closePauseMs; }
    // A later connect keeps the open port and its number.
    bool reopensOnConnect() const override { return false; }
    bool dispatch(const vcore::str& name, const vcore::str& argument) override;
    void poll() override;
    void releasePlayer() override;

private:
    // On the player's thread from here on.
    bool check();
    void dropPlayer();
    void command(const vcore::str& name, const vcore::str& argument);
    void volumeReport(bool forced);
    void positionReport(bool forced);
    void listReport(bool forced);
    void shortListReport(int32_t count);
    void stateReport(bool forced);
    void setVolume(double volume);
    void setPosition(double seconds);
    void setTrack(int32_t index);
    void setMode(const char16_t* mode, int32_t argument, int32_t& last);
    void greet(const vcore::str& address);
    int32_t playState();
    int32_t mode(const char16_t* name);

    wmp::playerThread thread_;
    std::unique_ptr<vwin::iMediaPlayer> player_;
    std::atomic<bool> attached_{false};
    std::atomic<bool> polling_{false};
    std::atomic<bool> pollPending_{false};
    bool shortListMode_ = false;
    int32_t lastListCount_ = 0;
    vcore::str lastFirstTitle_;
    vcore::str lastTitle_;
    int32_t lastTrack_ = -2;
    int32_t lastPosition_ = -2;
    int32_t lastDuration_ = 0;
    int32_t lastPlayState_ = -2;
    int32_t lastShuffle_ = 0;
    int32_t lastRepeat_ = 0;
    double lastVolume_ = -1.0;
    media::titleList titles_;
};
