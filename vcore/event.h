#pragma once
#include <cstdint>
#include <mutex>

#include "vcore/waittime.h"

namespace vcore {

// What the OS waits on: a Win32 event HANDLE, or an eventfd descriptor for poll().
#ifdef _WIN32
using nativeEvent = void*;
#else
using nativeEvent = int;
#endif

// A waitable OS event, so that one wait can cover it together with a socket.
// Manual-reset: stays set until reset. Auto-reset: each successful wait takes it back.
class event {
public:
    // A name shares the event between processes on Windows; other systems ignore it.
    explicit event(bool manualReset = true, bool initiallySet = false, const char16_t* name = nullptr);
    ~event();
    event(const event&) = delete;
    event& operator=(const event&) = delete;

    // False when the OS refused to create it; it then never counts as set.
    bool valid() const;
    // The named event existed before this object opened it.
    bool alreadyExisted() const { return existed_; }

    void set();
    void reset();
    // True when the event was set within ms (infinite: no limit).
    bool wait(uint32_t ms = infinite);

    nativeEvent native() const { return handle_; }

private:
    friend int waitAny(event& a, event& b, uint32_t ms);
    // Claims a set event: takes an auto-reset one back; false when another waiter got it first.
    bool take();

    nativeEvent handle_;
    bool manual_;
    bool existed_ = false;
    // Orders a set() before the waits that see it where the OS wait alone does not say so
    // (a poll on an eventfd): what the setter wrote before set() is then safely visible.
    std::mutex setting_;
    // Whether the eventfd holds a count (under setting_): setting a set event costs no write,
    // which a port pays for every datagram otherwise.
    bool signalled_ = false;
};

// Waits until a or b is set: 0 for a, 1 for b, -1 when ms ran out (or a wait failed).
// When both are set, a wins and b keeps its state.
int waitAny(event& a, event& b, uint32_t ms);

} // namespace vcore
