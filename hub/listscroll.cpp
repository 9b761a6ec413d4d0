#include "hub/listscroll.h"

#include <algorithm>

namespace hub {

void listscroll::fit(int rows, int visible)
{
    rows_ = std::max(rows, 0);
    visible_ = std::max(visible, 0);
    first_ = std::clamp(first_, 0, lastFirst());
}

int listscroll::lastFirst() const { return std::max(rows_ - visible_, 0); }

int listscroll::endShown() const { return std::min(rows_, first_ + visible_ + 1); }

bool listscroll::scrollTo(int first)
{
    const int before = first_;
    first_ = std::clamp(first, 0, lastFirst());
    return first_ != before;
}

bool listscroll::wheel(int delta, int rowsPerNotch)
{
    // A turn against the last one starts afresh rather than first undoing its part notch.
    if ((delta > 0) != (wheelRest_ > 0))
        wheelRest_ = 0;
    wheelRest_ += delta;
    const int notches = wheelRest_ / notch;
    wheelRest_ -= notches * notch;
    return scrollBy(-notches * rowsPerNotch);
}

int listscroll::rowAt(int y, int rowHeight) const
{
    if (y < 0 || rowHeight <= 0)
        return -1;
    return first_ + y / rowHeight;
}

} // namespace hub
