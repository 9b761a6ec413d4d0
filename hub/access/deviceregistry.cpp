#include "hub/access/deviceregistry.h"

#include <cstdint>

#include "vcore/regkey.h"

namespace hub {

bool deviceregistry::accepted(const vcore::str& device)
{
    vcore::regkey key;
    uint32_t value = 0;
    return key.open(path) && key.readDword(device, value) && int32_t(value) > 0;
}

bool deviceregistry::record(const vcore::str& device)
{
    vcore::regkey key;
    return key.open(path, true) && key.writeDword(device, 1);
}

} // namespace hub
