#pragma once
#include <cstdint>

#include "vcore/str.h"

// What the VLC connector's logic needs from the plug-in around it: VLC's port, the client,
// the state lock and the host's identity. The plug-in implements it over its ports and events.
namespace vlc {

class vlcShell {
public:
    virtual ~vlcShell() = default;

    // Writes a command line to VLC; true when its reply was complete in time.
    virtual bool sendCommand(const vcore::str& text) = 0;
    // One report to the client; false when the port refused it.
    virtual bool sendReport(const vcore::str& text) = 0;
    // The state lock, waited for at most waitMs; false when the wait ran out.
    virtual bool lockState(int32_t waitMs) = 0;
    virtual void unlockState() = 0;
    // Whether a host-order IPv4 address is one of this host's own.
    virtual bool isOwnAddress(uint32_t address) = 0;
    virtual vcore::str computerName() = 0;
};

// Holds the state lock for a scope, when it could be had.
class stateLock {
public:
    stateLock(vlcShell& shell, int32_t waitMs) : shell_(shell), held_(shell.lockState(waitMs)) {}
    ~stateLock()
    {
        if (held_)
            shell_.unlockState();
    }
    stateLock(const stateLock&) = delete;
    stateLock& operator=(const stateLock&) = delete;
    explicit operator bool() const { return held_; }

private:
    vlcShell& shell_;
    bool held_;
};

} // namespace vlc
