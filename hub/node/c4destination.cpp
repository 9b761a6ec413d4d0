#include "hub/node/c4destination.h"

#include "vnet/address.h"

uint32_t c4Destination(uint32_t address)
{
    if (address == 0 || address == vnet::loopbackAddress)
        return vnet::broadcastAddress;
    return address;
}

uint32_t c4Destination(vcore::strview address)
{
    return c4Destination(vnet::parseDottedAddress(address));
}
