// In-place conversion between UTF-16 text and UTF-8 bytes held one per unit.
#include <algorithm>
#include <cstdint>

#include "vcore/str.h"
#include "vcore/strchars.h"

namespace vcore {

namespace {

// Surrogates are encoded one unit at a time, three bytes each.
int32_t utf8Size(char16_t u)
{
    return u < 0x80 ? 1 : (u < 0x800 ? 2 : 3);
}

int32_t encode(char16_t u, char* out)
{
    if (u < 0x80) {
        out[0] = char(u);
        return 1;
    }
    if (u < 0x800) {
        out[0] = char(0xC0 | (u >> 6));
        out[1] = char(0x80 | (u & 0x3F));
        return 2;
    }
    out[0] = char(0xE0 | (u >> 12));
    out[1] = char(0x80 | ((u >> 6) & 0x3F));
    out[2] = char(0x80 | (u & 0x3F));
    return 3;
}

} // namespace

int32_t str::toUtf8()
{
    int64_t count = 0;
    for (int32_t i = 0; i < length_; ++i)
        count += utf8Size(text_[i]);
    if (count + 2 >= capacity_ && (flags_ & flagGrowable))
        reserve(int32_t(std::min<int64_t>(count + 1, maxLength)));
    ensureNarrowBuffer();

    // A fixed-size string keeps the whole characters that fit.
    const int32_t limit = capacity_ - 1;
    int32_t bytes = 0;
    for (int32_t i = 0; i < length_ && bytes + utf8Size(text_[i]) <= limit; ++i)
        bytes += encode(text_[i], narrow_ + bytes);
    narrow_[bytes] = 0;

    for (int32_t i = 0; i < bytes; ++i)
        text_[i] = char16_t(static_cast<unsigned char>(narrow_[i]));
    setLength(bytes);
    flags_ &= ~flagStale;
    return bytes;
}

int32_t str::fromUtf8()
{
    const auto* in = reinterpret_cast<const unsigned char*>(narrow());
    const int32_t n = chars::length(narrow_, length_);
    int32_t out = 0;
    for (int32_t i = 0; i < n;) {
        const unsigned b0 = in[i];
        const int32_t size = b0 < 0x80 ? 1 : ((b0 & 0xF0) == 0xE0 ? 3 : 2);
        if (i + size > n) {
            text_[out++] = 0xFFFD;  // cut short at the end: nothing to read beyond
            break;
        }
        char16_t u;
        if (size == 1)
            u = char16_t(b0);
        else if (size == 3)
            u = char16_t(((b0 & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
        else
            u = char16_t(((b0 & 0x1F) << 6) | (in[i + 1] & 0x3F));
        if (u == 0)
            break;
        text_[out++] = u;
        i += size;
    }
    setLength(out);
    return out;
}

} // namespace vcore
