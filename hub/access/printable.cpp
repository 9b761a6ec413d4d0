#include "hub/access/printable.h"

namespace hub {

namespace {

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

} // namespace

vcore::str printable(const vcore::str& text)
{
    vcore::str out(text.length());
    for (int32_t i = 0; i < text.length(); ++i)
        out.append(isControl(text[i]) ? u'?' : text[i]);
    return out;
}

} // namespace hub
