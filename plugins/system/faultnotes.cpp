#include "plugins/system/faultnotes.h"

#include <utility>

namespace systemctl {

faultNote::faultNote(logSink log, const char16_t* failLine, const char16_t* recoverLine)
    : log_(std::move(log)), failLine_(failLine), recoverLine_(recoverLine)
{
}

void faultNote::fail()
{
    if (failing_)
        return;
    failing_ = true;
    if (log_)
        log_(failLine_);
}

void faultNote::recover()
{
    // Coming up the first time is the normal case and not worth a line.
    const bool wasFailing = failing_;
    failing_ = false;
    if (wasFailing && log_)
        log_(recoverLine_);
}

} // namespace systemctl
