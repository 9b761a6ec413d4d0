#pragma once
#include <functional>

#include "vcore/str.h"

// One cause of trouble (no display, no sound server) logged once until it clears up.
namespace systemctl {

using logSink = std::function<void(const vcore::str&)>;

class faultNote {
public:
    faultNote(logSink log, const char16_t* failLine, const char16_t* recoverLine);

    void fail();
    void recover();
    bool failing() const { return failing_; }

private:
    logSink log_;
    vcore::str failLine_;
    vcore::str recoverLine_;
    bool failing_ = false;
};

} // namespace systemctl
