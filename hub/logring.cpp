#include "hub/logring.h"

namespace hub {

void logring::add(const vcore::str& line)
{
    ++counter_;
    lines_[counter_ % slots] = line;
}

const vcore::str& logring::newest(int32_t k) const
{
    static const vcore::str none;
    if (k < 0 || k >= slots || uint64_t(k) >= counter_)
        return none;
    return lines_[(counter_ - uint64_t(k)) % slots];
}

} // namespace hub
