#include "tools/remote/deviceid.h"

#include <random>

#include "vcore/regkey.h"

namespace remote {

namespace {

constexpr const char16_t* deviceValue = u"device";

} // namespace

bool usableDeviceId(const vcore::str& id)
{
    return !id.empty() && id.find(0, u":;") < 0;
}

vcore::str newDeviceId()
{
    static constexpr char16_t digits[] = u"0123456789abcdef";
    std::random_device source;
    std::uniform_int_distribution<int> pick(0, 15);
    vcore::str id;
    for (int i = 0; i < 16; ++i)
        id.append(digits[pick(source)]);
    return id;
}

vcore::str deviceId(bool& stored, const char16_t* keyPath)
{
    vcore::regkey key;
    vcore::str id;
    const bool opened = key.open(keyPath, true);
    if (opened && key.readText(deviceValue, id) && usableDeviceId(id)) {
        stored = true;
        return id;
    }
    // Missing, or spoiled by hand: a fresh one, so that the name stays parseable at the hub.
    id = newDeviceId();
    stored = opened && key.writeText(deviceValue, id);
    return id;
}

} // namespace remote
