#pragma once
#include <cstdint>
#include <memory>

#include "vcore/waittime.h"

namespace vcore {

// A counting lock with timed waits; the default (count 1, maximum 1) guards state shared
// between a worker thread and its callers. On Windows a kernel semaphore, so that a worker
// terminated in the middle of a wait leaves it intact.
class semaphore {
public:
    explicit semaphore(uint32_t initial = 1, uint32_t maximum = 1);
    ~semaphore();
    semaphore(const semaphore&) = delete;
    semaphore& operator=(const semaphore&) = delete;

    // Takes one count; false when none came free within ms (infinite: no limit).
    bool wait(uint32_t ms = infinite);
    // Gives one count back; false (and no change) when the count is already at its maximum.
    bool release();

private:
    struct impl;
    std::unique_ptr<impl> impl_;
};

} // namespace vcore
