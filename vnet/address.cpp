#include "vnet/address.h"

#include <cstdlib>
#include <string>

#include "vcore/strchars.h"
#include "vnet/netport.h"
#include "vnet/portname.h"
#include "vnet/socket.h"

namespace vnet {
namespace {

bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Host names are ASCII; anything else cannot be looked up.
bool lookupName(vcore::strview text, uint32_t& address)
{
    std::string name;
    for (int32_t i = 0; i < text.length(); ++i) {
        if (text[i] == 0 || text[i] > 0x7F)
            return false;
        name.push_back(char(text[i]));
    }
    return sock::lookupHost(name.c_str(), address);
}

bool localList(const netPort& port, std::vector<uint32_t>& list)
{
    return port.localAddresses(list);
}

// Coarse position of an address for nearness: its network part.
int64_t nearnessKey(uint32_t address)
{
    int shift = address < 0xC0000001u ? 16 : 8;
    return int64_t(int32_t(address) >> shift);
}

} // namespace

uint32_t parseDottedAddress(vcore::strview text)
{
    uint32_t address = 0;
    int32_t at = 0;
    for (int field = 0; field < 4; ++field) {
        if (field > 0 && (at >= text.length() || text[at++] != u'.'))
            return 0;
        uint32_t value = 0;
        int digits = 0;
        while (at < text.length() && vcore::chars::isDigit(text[at]) && digits < 3) {
            value = value * 10 + uint32_t(text[at++] - u'0');
            ++digits;
        }
        if (digits == 0 || value > 255)
            return 0;
        address = (address << 8) | value;
    }
    return at == text.length() ? address : 0;
}

uint32_t parseDottedAddress(const char16_t* text)
{
    return parseDottedAddress(vcore::strview(text, vcore::chars::length(text)));
}

uint32_t resolveAddress(vcore::strview text)
{
    uint32_t address = 0;
    if (text.empty() || !isLetter(text[0]) || !lookupName(text, address))
        address = parseDottedAddress(text);
    return address == 0 || address == broadcastAddress ? loopbackAddress : address;
}

uint32_t resolveAddress(const char16_t* text)
{
    return resolveAddress(vcore::strview(text, vcore::chars::length(text)));
}

uint32_t resolveAddress(const vcore::str& text)
{
    return resolveAddress(text.view());
}

vcore::str formatAddress(uint32_t address)
{
    vcore::str text;
    if (address != 0)
        text.format(u"%d.%d.%d.%d", int(address >> 24), int((address >> 16) & 0xFF),
                    int((address >> 8) & 0xFF), int(address & 0xFF));
    return text;
}

bool isLocalAddress(const netPort& port, uint32_t address)
{
    return address == loopbackAddress || port.hasLocalAddress(address);
}

bool isLocalAddress(const netPort& port, const char16_t* text)
{
    vcore::strview view(text, vcore::chars::length(text));
    bool dotted = false;
    for (int32_t i = 0; i < view.length(); ++i)
        dotted = dotted || view[i] == u'.';
    uint32_t address = 0;
    if (dotted)
        address = resolveAddress(view);
    else
        readNumber(view, address);
    return isLocalAddress(port, address);
}

uint32_t localAddress(const netPort& port, int index, vcore::str& text)
{
    std::vector<uint32_t> list;
    if (!localList(port, list))
        list.clear();
    if (list.size() > 256)
        list.resize(256);
    size_t textIndex = index >= 0 && index < 256 ? size_t(index) : 0;
    text = formatAddress(textIndex < list.size() ? list[textIndex] : 0);
    return index >= 0 && size_t(index) < list.size() ? list[size_t(index)] : 0;
}

uint32_t nearestAddress(const std::vector<uint32_t>& locals, uint32_t remote)
{
    uint32_t best = 0;
    int64_t bestDistance = -1;
    int64_t target = nearnessKey(remote);
    for (uint32_t local : locals) {
        if (local == remote)
            return 0;
    }
    for (uint32_t local : locals) {
        int64_t distance = std::llabs(nearnessKey(local) - target);
        if (bestDistance < 0 || distance < bestDistance) {
            best = local;
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return best;
}

uint32_t nearestLocalAddress(const netPort& port, uint32_t remote)
{
    if (remote == loopbackAddress)
        return loopbackAddress;
    std::vector<uint32_t> list;
    if (!localList(port, list))
        return 0;
    return nearestAddress(list, remote);
}

} // namespace vnet
