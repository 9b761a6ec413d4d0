// In-place conversion between UTF-16 text and UTF-8 bytes held one per unit.
#include <algorithm>
#include <cstdint>

#include "vcore/str.h"
#include "vcore/strchars.h"
#include "vcore/utf8.h"

namespace vcore {

namespace {

// The bytes of lead byte b0's sequence, by the lenient rule: continuation bytes are not
// checked, and any other byte of 0x80 or more starts two.
int32_t sequenceSize(unsigned b0)
{
    if (b0 < 0x80)
        return 1;
    if ((b0 & 0xF0) == 0xE0)
        return 3;
    if ((b0 & 0xF8) == 0xF0)
        return 4;
    return 2;
}

char32_t decode(const unsigned char* in, int32_t size)
{
    switch (size) {
    case 1:
        return in[0];
    case 2:
        return ((in[0] & 0x1F) << 6) | (in[1] & 0x3F);
    case 3:
        return ((in[0] & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F);
    default:
        return ((in[0] & 0x07) << 18) | ((in[1] & 0x3F) << 12) | ((in[2] & 0x3F) << 6) | (in[3] & 0x3F);
    }
}

} // namespace

// A surrogate pair is one code point of four bytes; a lone surrogate keeps the three-byte
// form, so that nothing is lost on the way back.
int32_t str::toUtf8()
{
    int64_t count = 0;
    char32_t c = 0;
    for (size_t i = 0; i < size_t(length_);) {
        i += utf8::codePointAt(text_, size_t(length_), i, c);
        count += utf8::size(c);
    }
    if (count + 2 >= capacity_ && (flags_ & flagGrowable))
        reserve(int32_t(std::min<int64_t>(count + 1, maxLength)));
    ensureNarrowBuffer();

    // A fixed-size string keeps the whole characters that fit.
    const int32_t limit = capacity_ - 1;
    int32_t bytes = 0;
    for (size_t i = 0; i < size_t(length_);) {
        const size_t units = utf8::codePointAt(text_, size_t(length_), i, c);
        if (bytes + utf8::size(c) > limit)
            break;
        bytes += utf8::encode(c, narrow_ + bytes);
        i += units;
    }
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
        const int32_t size = sequenceSize(in[i]);
        if (i + size > n) {
            text_[out++] = 0xFFFD;  // cut short at the end: nothing to read beyond
            break;
        }
        const char32_t c = decode(in + i, size);
        if (c == 0)
            break;
        if (size < 4) {
            text_[out++] = char16_t(c);
        } else if (c >= 0x10000 && c <= 0x10FFFF) {
            // Four bytes become two units: the text never outgrows the bytes it came from.
            text_[out++] = utf8::highSurrogate(c);
            text_[out++] = utf8::lowSurrogate(c);
        } else {
            text_[out++] = 0xFFFD;  // overlong, or beyond Unicode
        }
        i += size;
    }
    setLength(out);
    return out;
}

} // namespace vcore
