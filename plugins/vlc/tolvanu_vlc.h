#pragma once
#include <cstdint>
#include <mutex>

#include "plugins/common/session.h"
#include "plugins/vlc/operations.h"
#include "plugins/vlc/sessionshell.h"
#include "plugins/vlc/vlclink.h"
#include "plugins/vlc/vlcstate.h"

// The VLC plug-in's session: serves "media.VLC" on UDP port 6638 and drives a running VLC
// through its remote-control interface, whose port it finds (and may set up) in vlcrc.
class Tolvanu_VLC : public plugin::session, private vlc::replySink {
public:
    static constexpr uint32_t sessionPort = 6638;
    static constexpr uint32_t pollMs = 940;
    static constexpr uint32_t closePauseMs = 50;
    // Time given to a fresh connection to VLC before it is looked at.
    static constexpr uint32_t linkSettleMs = 50;

    Tolvanu_VLC();
    ~Tolvanu_VLC() override;

    bool prepare() override;
    bool present() override;

protected:
    uint32_t pollPeriod() const override { return pollMs; }
    uint32_t sessionPortNumber() const override { return sessionPort; }
    uint32_t closePause() const override { return closePauseMs; }
    bool reopensOnConnect() const override { return true; }
    void resetState() override;
    void closingSession() override;
    bool dispatch(const vcore::str& name, const vcore::str& argument) override;
    void poll() override;
    void releasePlayer() override;
    // Where VLC keeps its configuration on this system.
    virtual vcore::str configPath() const;

private:
    void deliver(const vlc::lineOutcome& outcome) override;
    void noteRewrite(bool rewritten, bool failed);

    // Guards the remembered state between the session's worker, the link's worker and the hub.
    std::mutex access_;
    vlc::vlcState state_;
    vlc::vlcLink link_;
    vlc::sessionShell shell_;
    vlc::operations operations_;
    // Opening and closing the link, from the hub's threads.
    std::mutex playerLock_;
};
