#pragma once
#include "vcore/str.h"

namespace hub {

// The client devices the user accepted before, by device id.
class devicelist {
public:
    virtual ~devicelist() = default;
    // False also when the list cannot be read: the user is then asked again.
    virtual bool accepted(const vcore::str& device) = 0;
    // False when it could not be kept; nobody is told.
    virtual bool record(const vcore::str& device) = 0;
};

} // namespace hub
