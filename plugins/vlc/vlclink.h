#pragma once
#include <cstdint>
#include <mutex>
#include <vector>

#include "plugins/vlc/linereader.h"
#include "plugins/vlc/replyparser.h"
#include "plugins/vlc/vlcstate.h"
#include "vcore/event.h"
#include "vcore/str.h"
#include "vnet/netport.h"

namespace vlc {

// Where the reports and log lines of VLC's replies go; called on the link's worker, without
// the state mutex.
class replySink {
public:
    virtual ~replySink() = default;
    virtual void deliver(const lineOutcome& outcome) = 0;
};

// The TCP connection to VLC's remote-control interface on loopback, reconnecting whenever it
// drops. Commands go out one at a time; the port's worker reads VLC's lines through the reply
// parser into the remembered state. `access` guards that state, the parser and the last command
// between the worker and the thread that sends.
class vlcLink {
public:
    vlcLink(vlcState& state, std::mutex& access, replySink& sink);
    ~vlcLink();
    vlcLink(const vlcLink&) = delete;
    vlcLink& operator=(const vlcLink&) = delete;

    bool open(int32_t port);
    void close();
    // After close(): until the link's worker has ended, for an owner about to go.
    void waitClosed() { port_.waitWorkerEnd(); }
    bool isOpen() const { return port_.isOpen(); }
    bool connected() const { return port_.isConnected(); }

    // The caller holds access, which is let go while waiting for the reply. True when the whole
    // reply came in time (20 ms for its start, then 150 ms, or 1000 ms for the play list).
    bool sendCommand(const vcore::str& text);

private:
    void opened(void*);
    void dataArrived(void*);
    void parseLines(std::vector<lineOutcome>& outcomes);

    std::mutex& access_;
    replySink& sink_;
    replyParser parser_;
    lineReader lines_;
    vcore::str lastCommand_;
    vcore::event started_{false, false};
    vcore::event done_{false, false};
    // Last, so that its worker is gone before the members it uses.
    vnet::netPort port_;
};

} // namespace vlc
