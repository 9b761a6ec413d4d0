#pragma once
#include <string>

#include "vcore/str.h"

// A private corner of the current user's registry for one test, gone afterwards.
class scratchRegistry {
public:
    scratchRegistry();
    ~scratchRegistry();
    scratchRegistry(const scratchRegistry&) = delete;
    scratchRegistry& operator=(const scratchRegistry&) = delete;

    // "HKEY_CURRENT_USER\<private key>", followed by "\below" when given.
    vcore::str path(const char16_t* below = nullptr) const;
    // Levels of path() without below.
    int32_t levels() const { return 2; }

private:
    vcore::str base_;     // below HKEY_CURRENT_USER
    std::string folder_;  // the temporary settings folder, on Linux
};
