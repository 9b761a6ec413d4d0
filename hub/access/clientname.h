#pragma once
#include "vcore/str.h"

namespace hub {

// A client's name from "open": "<display name>:<device id>", cut at its last ':'.
struct clientname {
    vcore::str display;  // what the user is asked about
    vcore::str device;   // the name of its value in the device list

    // Without a ':' both parts are the whole name.
    static clientname split(const vcore::str& name);
};

} // namespace hub
