#include "vnet/portname.h"

namespace vnet {
namespace {

int digitValue(char16_t c, int base)
{
    int v = c >= u'0' && c <= u'9' ? c - u'0'
          : c >= u'a' && c <= u'f' ? c - u'a' + 10
          : c >= u'A' && c <= u'F' ? c - u'A' + 10
          : 99;
    return v < base ? v : -1;
}

} // namespace

bool readNumber(vcore::strview text, uint32_t& value)
{
    int32_t at = 0;
    int base = 10;
    if (text.length() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        base = 16;
        at = 2;
    }
    uint64_t n = 0;
    int32_t first = at;
    for (; at < text.length(); ++at) {
        int d = digitValue(text[at], base);
        if (d < 0)
            break;
        n = n * uint64_t(base) + uint64_t(d);
        if (n > 0xFFFFFFFFu)
            n = 0xFFFFFFFFu + uint64_t(1);  // stays above the limit without overflowing
    }
    value = n > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(n);
    return at > first && at == text.length();
}

bool takePortSuffix(vcore::str& name, uint32_t& port)
{
    int32_t colon = name.findLast(u':');
    int32_t start = colon < 0 ? 0 : colon + 1;
    vcore::strview field = name.mid(start);
    if (field.length() > 4)
        return false;
    uint32_t number = 0;
    if (!readNumber(field, number) || number == 0)
        return false;
    port = number;
    int32_t cut = colon < 0 ? 0 : colon;
    name.remove(name.length() - cut, cut);
    return true;
}

} // namespace vnet
