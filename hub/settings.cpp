#include "hub/settings.h"

#include "vcore/regkey.h"

namespace hub::settings {

namespace {
constexpr const char16_t* hubKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu";
constexpr const char16_t* levelValue = u"security";
} // namespace

bool readLevel(int32_t& level)
{
    vcore::regkey key;
    uint32_t stored = 0;
    if (!key.open(hubKey, true) || !key.readDword(levelValue, stored))
        return false;
    level = int32_t(stored);
    return true;
}

bool writeLevel(int32_t level)
{
    vcore::regkey key;
    return key.open(hubKey, true) && key.writeDword(levelValue, uint32_t(level));
}

bool deleteDevices()
{
    vcore::regkey key;
    return key.open(hubKey) && key.deleteKey(u"devices");
}

} // namespace hub::settings
