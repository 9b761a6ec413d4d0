#include "vcore/nativepath.h"

#include "vcore/utf8.h"

namespace vcore {

namespace {


// Length of the UTF-8 sequence led by b, 0 when b cannot lead one.
int sequenceLength(unsigned char b)
{
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

void appendUtf16(str& out, char32_t c)
{
    if (c < 0x10000) {
        out.append(char16_t(c));
        return;
    }
    out.append(utf8::highSurrogate(c));
    out.append(utf8::lowSurrogate(c));
}

} // namespace

std::string toNativePath(const char16_t* path)
{
    std::string out;
    const size_t length = path ? std::char_traits<char16_t>::length(path) : 0;
    char32_t c = 0;
    for (size_t i = 0; i < length;) {
        i += utf8::codePointAt(path, length, i, c);
        // A lone surrogate has no UTF-8 form that the system would take.
        utf8::append(out, c >= 0xD800 && c <= 0xDFFF ? 0xFFFD : c);
    }
    return out;
}

std::string toNativePath(const str& path)
{
    return toNativePath(path.data());
}

str fromNativePath(const char* path)
{
    str out;
    const auto* p = reinterpret_cast<const unsigned char*>(path);
    while (p && *p) {
        int n = sequenceLength(*p);
        char32_t c = n == 1 ? *p : n == 2 ? (*p & 0x1F) : n == 3 ? (*p & 0x0F) : (*p & 0x07);
        int taken = 1;
        for (; n > 1 && taken < n && (p[taken] & 0xC0) == 0x80; ++taken)
            c = (c << 6) | (p[taken] & 0x3F);
        if (n == 0 || taken < n)
            c = 0xFFFD;
        appendUtf16(out, c);
        p += taken;
    }
    return out;
}

} // namespace vcore
