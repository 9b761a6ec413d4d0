#include "hub/addresslist.h"

#include "hub/host/nametext.h"

namespace hub {

void addresslist::report(const vcore::str& text)
{
    std::lock_guard<std::mutex> hold(lock_);
    bool found = false;
    for (addressrow& row : rows_) {
        row.current = !found && sameName(row.text.view(), text.view());
        found = found || row.current;
    }
    if (!found)
        rows_.push_back({text, true});
}

std::vector<addressrow> addresslist::rows() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return rows_;
}

} // namespace hub
