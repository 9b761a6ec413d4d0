#include "plugins/common/mediagreeting.h"

#include "vnet/address.h"
#include "vnet/portname.h"

namespace media {
namespace {

uint32_t addressOf(const vcore::str& argument)
{
    if (argument.find(0, u'.') >= 0)
        return vnet::parseDottedAddress(argument.view());
    uint32_t address = 0;
    vnet::readNumber(argument.view(), address);
    return address;
}

} // namespace

bool greetingAnswered(const vcore::str& argument, const ownAddressTest& isOwnAddress)
{
    if (argument.empty())
        return true;
    const uint32_t address = addressOf(argument);
    if (address == vnet::loopbackAddress)
        return true;
    return address != 0 && isOwnAddress && isOwnAddress(address);
}

} // namespace media
