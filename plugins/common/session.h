#pragma once
#include <atomic>
#include <cstdint>

#include "plugins/common/mediamessage.h"
#include "vcore/str.h"
#include "vnet/netport.h"

namespace plugin {

// A plug-in's one session with a remote client: the port it serves the client on, message
// intake, reports and the periodic poll. Each connector derives from it, fills in the player
// side, and closes the port in its own destructor, since the port's worker calls its overrides.
class session : public vnet::netPort {
public:
    // Longest wait for the state lock at connect.
    static constexpr uint32_t lockWaitMs = 1000;

    explicit session(const char16_t* serviceName);
    ~session() override;

    // "media.VLC": what init writes into the hub's buffer.
    const vcore::str& serviceName() const { return serviceName_; }
    // A name that search and connect take for this service.
    virtual bool accepts(const char16_t* name) const;
    // Close also takes the empty (or absent) name.
    bool acceptsForClose(const char16_t* name) const;

    // The plug-in's own preparation at init; false refuses the load.
    virtual bool prepare() { return true; }
    // The player can be reached now; may set up the player connection for later use.
    virtual bool present() = 0;

    // Opens the session for a new client; the port's number, or 0 when that failed.
    virtual uint32_t connectSession();
    // Tells the client, closes the port and lets go of the player.
    virtual void closeSession();

    // One report to the client, logged; false when the port refused it.
    bool sendReport(const vcore::str& text);

    // Set by the client's first state request; the poll runs only while it is set.
    bool active() const { return active_; }
    void setActive(bool on) { active_ = on; }

    bool onData(vcore::ioport* port) override;
    bool onTimeOut(vcore::ioport* port) override;

protected:
    // Milliseconds between polls (the port's time-out while connected).
    virtual uint32_t pollPeriod() const = 0;
    // The session port's number; 0 lets the system choose.
    virtual uint32_t sessionPortNumber() const { return 0; }
    // Milliseconds the close sequence waits for "media.close" to leave.
    virtual uint32_t closePause() const { return 0; }
    // Whether connect opens the port afresh when it is open already.
    virtual bool reopensOnConnect() const { return true; }
    // Forgets what was reported, so the next poll reports everything.
    virtual void resetState() {}
    // First step of the close sequence, before "media.close" goes out.
    virtual void closingSession() {}
    // Runs one command (name lower-cased); false when unknown to the connector.
    virtual bool dispatch(const vcore::str& name, const vcore::str& argument) = 0;
    // Compares the player with what was reported and reports the changes.
    virtual void poll() {}
    // Lets go of the player connection made by present(); called without the state lock.
    virtual void releasePlayer() {}
    // Cuts a text into command and argument.
    virtual media::mediaMessage split(const vcore::str& text) const;
    // Whether texts come from this host itself: the remote address is loopback or our own.
    virtual bool fromThisHost() const;

    // One received text, still UTF-8: logged, split and dispatched unless it came from here.
    void receive(vcore::str& text);

private:
    bool openSessionPort();

    vcore::str serviceName_;
    std::atomic<bool> active_{false};
};

} // namespace plugin
