#pragma once
#include <mutex>
#include <vector>

#include "hub/menuactions.h"
#include "vcore/str.h"

// The addresses reported for this computer: one row per text (A to Z case ignored), the latest
// marked current. Rows are never removed. Reported from the node's and plug-ins' threads.
namespace hub {

class addresslist {
public:
    void report(const vcore::str& text);
    std::vector<addressrow> rows() const;

private:
    mutable std::mutex lock_;
    std::vector<addressrow> rows_;
};

} // namespace hub
