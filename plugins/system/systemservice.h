#pragma once
#include <atomic>
#include <cstdint>

#include "plugins/system/machine.h"
#include "plugins/system/outlet.h"
#include "plugins/system/sessiongate.h"
#include "plugins/system/systemcommand.h"
#include "vcore/semaphore.h"
#include "vcore/str.h"
#include "vcore/strtokens.h"

// The "system" service without I/O: client texts in, calls on the machine and reports out.
// Commands and the poll come from one worker thread; connect and close from the hub's.
namespace systemctl {

class systemService {
public:
    static constexpr uint32_t lockWaitMs = 1000;
    static constexpr uint32_t initReportDelayMs = 100;
    static constexpr int32_t captionRoom = 1024;
    static constexpr uint16_t rightArrow = 0xE04D;
    static constexpr uint16_t leftArrow = 0xE04B;
    // One "P" may not flood the PC: a position of 2e9 would otherwise mean 2e8 presses.
    static constexpr int64_t maxStepPresses = 100;

    // lock guards the volume and the device calls (the port's state lock).
    systemService(machine& pc, outlet& out, vcore::semaphore& lock);

    // One client text (already decoded) from the address text from.
    void handle(const vcore::str& text, const vcore::str& from);
    // The port's quiet tick, about once a second.
    void poll();

    void connect();
    // Before "system.close" goes out.
    void close();

    bool active() const { return active_; }
    // Whether the quiet tick has work: reports while active, or a turned-away burst to end.
    bool wantsTicks() const { return active_ || gate_.bursting(); }
    bool sessionOpen() const { return gate_.isOpen(); }
    double currentVolume() const { return current_; }
    int32_t lastStep() const { return lastStep_; }
    windowId pinned() const { return pinned_; }

private:
    void run(systemCommand command, const vcore::strtokens& fields);
    void press(uint16_t scanCode, bool up);
    void steps(int32_t position);
    void changeVolume(double value, bool add);
    // Under the lock.
    void reportVolume(bool forced);
    void lockedReport(bool forced);
    void init(const vcore::str& address);
    void pin();

    machine& pc_;
    outlet& out_;
    vcore::semaphore& lock_;
    sessionGate gate_;
    std::atomic<bool> active_{false};
    double current_ = 0.0;
    int32_t lastStep_ = 0;
    windowId pinned_ = 0;
};

} // namespace systemctl
