#pragma once
#include <mutex>

#include "plugins/common/session.h"
#include "plugins/vlc/vlclink.h"
#include "plugins/vlc/vlcshell.h"

namespace vlc {

// The VLC logic's view of the plug-in: commands over the link, reports through the session,
// the session port's semaphore as the state lock. The caller holds `access`; every call that
// may wait lets go of it meanwhile, so that VLC's replies can be parsed.
class sessionShell : public vlcShell {
public:
    sessionShell(plugin::session& session, vlcLink& link, std::mutex& access)
        : session_(session), link_(link), access_(access)
    {
    }

    bool sendCommand(const vcore::str& text) override { return link_.sendCommand(text); }
    bool sendReport(const vcore::str& text) override;
    bool lockState(int32_t waitMs) override;
    void unlockState() override;
    bool isOwnAddress(uint32_t address) override;
    vcore::str computerName() override;

private:
    plugin::session& session_;
    vlcLink& link_;
    std::mutex& access_;
};

} // namespace vlc
