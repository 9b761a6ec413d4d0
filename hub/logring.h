#pragma once
#include <cstdint>

#include "vcore/str.h"

// The hub's last 50 log lines: the counter rises first, then the line goes to slot counter mod 50.
namespace hub {

class logring {
public:
    static constexpr int32_t slots = 50;

    void add(const vcore::str& line);
    // Lines added so far.
    uint64_t counter() const { return counter_; }
    const vcore::str& slot(int32_t index) const { return lines_[index]; }
    // k = 0 is the newest line; lines never added (or k >= slots) are empty.
    const vcore::str& newest(int32_t k) const;

private:
    vcore::str lines_[slots];
    uint64_t counter_ = 0;  // 64 bits: no wrap-around in any run
};

} // namespace hub
