#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>

#include "vcore/calendartime.h"
#include "vcore/event.h"
#include "vcore/iobase.h"
#include "vcore/semaphore.h"
#include "vcore/str.h"
#include "vwin/winthread.h"

namespace vcore {

// A stream served by a worker thread: wait events, a time-out, and virtual event handlers.
class ioport : public iobase, public vwin::winthread {
public:
    static constexpr uint32_t defaultTimeOut = 1000;

    explicit ioport(uint32_t portNumber = 0);
    ~ioport() override;

    // True when the opened, closed or data event was set within ms.
    virtual bool waitOpen(uint32_t ms);
    virtual bool waitClose(uint32_t ms);
    virtual bool waitData(uint32_t ms);
    // One byte, waiting up to ms for data when none is available; true only when one was read.
    virtual bool readByte(uint8_t& byte, uint32_t ms);
    // Sets the owner's free note, which the port never reads; returns it.
    virtual str setNote(const char16_t* text);
    // Clears the data, closed and opened events.
    virtual void resetEvents();

    // Handlers for the events of port; true when handled (named handlers are then skipped).
    virtual bool onOpen(ioport* port);
    virtual bool onClose(ioport* port);
    virtual bool onData(ioport* port);
    virtual bool onTimeOut(ioport* port);

    // The text convention's reader: the bytes available now, up to a NUL, one character per
    // byte (two on wide streams). False when nothing was available or the text came out empty.
    bool readString(str& text);

    const calendartime& creationTime() const { return created_; }
    // The creation time (local) as 100 ns units since 1601-01-01.
    uint64_t creationFileTime() const { return createdFileTime_; }

    uint32_t portNumber() const { return portNumber_; }
    void setPortNumber(uint32_t port) { portNumber_ = port; }
    uint32_t timeOut() const { return timeOut_; }
    void setTimeOut(uint32_t ms) { timeOut_ = ms; }
    // A time-out that never runs out: the worker wakes for the network alone.
    static constexpr uint32_t noTimeOut = 0xFFFFFFFF;
    // From another thread than the worker: its current wait ends, so the new time-out holds now.
    void changeTimeOut(uint32_t ms)
    {
        timeOut_ = ms;
        socketEvent_.set();
    }
    bool threaded() const { return threaded_; }
    void setThreaded(bool threaded) { threaded_ = threaded; }
    str remoteText() const;
    str note() const;
    // Count-1 lock for owners guarding their own state between the worker and callers.
    semaphore& stateLock() { return stateLock_; }

protected:
    void setRemoteText(const str& text);
    bool stopRequest() const { return stopRequest_; }
    void setStopRequest(bool stop) { stopRequest_ = stop; }

    event socketEvent_{false, false};
    event openedEvent_{false, false};
    event closedEvent_{false, false};
    event dataEvent_{false, false};

private:
    calendartime created_;
    uint64_t createdFileTime_ = 0;
    std::atomic<bool> stopRequest_{false};
    semaphore stateLock_{1, 1};
    std::atomic<uint32_t> portNumber_;
    std::atomic<uint32_t> timeOut_{defaultTimeOut};
    std::atomic<bool> threaded_{true};
    mutable std::mutex textLock_;  // guards the two texts below
    str remoteText_;
    str note_;
};

// The local time now, as calendar fields and as 100 ns units since 1601-01-01.
void localNow(calendartime& calendar, uint64_t& fileTime);

} // namespace vcore
