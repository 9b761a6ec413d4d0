#pragma once
#include "hub/access/devicelist.h"

namespace hub {

// The accepted devices in the current user's registry: one REG_DWORD 1 per device id under
// "SOFTWARE\Tessary\Tolvanu\devices"; an empty id is the key's unnamed default value.
class deviceregistry : public devicelist {
public:
    static constexpr const char16_t* path = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\devices";

    // A value of 4 bytes, whatever its type, that reads above 0.
    bool accepted(const vcore::str& device) override;
    // Creates the key when missing.
    bool record(const vcore::str& device) override;
};

} // namespace hub
