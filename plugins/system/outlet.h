#pragma once
#include "vcore/str.h"

// What the system service's logic needs from its port and host: the way back to the client,
// the hub's log, and who this host is.
namespace systemctl {

class outlet {
public:
    virtual ~outlet() = default;

    // To the client's address; a logged report also goes to the hub's log.
    virtual void report(const vcore::str& text, bool logged) = 0;
    virtual void log(const vcore::str& line) = 0;
    // An address text naming this host ('.': resolved, else read as a number).
    virtual bool isThisHost(const vcore::str& address) = 0;
    virtual vcore::str computerName() = 0;
};

} // namespace systemctl
