#pragma once
#include <cstddef>
#include <string>

// Code points to UTF-8 bytes, and the UTF-16 surrogate tests that come with them.
namespace vcore::utf8 {

inline bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
inline bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

inline char32_t joinSurrogates(char16_t high, char16_t low)
{
    return 0x10000 + ((char32_t(high) - 0xD800) << 10) + (char32_t(low) - 0xDC00);
}

// The two units of a code point above U+FFFF.
inline char16_t highSurrogate(char32_t c) { return char16_t(0xD800 + ((c - 0x10000) >> 10)); }
inline char16_t lowSurrogate(char32_t c) { return char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)); }

// The code point that starts at text[i]; returns how many units it takes (2 for a pair, else
// 1, a lone surrogate standing for itself). text[length] is never read.
inline size_t codePointAt(const char16_t* text, size_t length, size_t i, char32_t& c)
{
    if (i + 1 < length && isHighSurrogate(text[i]) && isLowSurrogate(text[i + 1])) {
        c = joinSurrogates(text[i], text[i + 1]);
        return 2;
    }
    c = text[i];
    return 1;
}

// How many bytes encode() writes for c.
inline int size(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Writes c's 1 to 4 bytes at out; returns how many.
inline int encode(char32_t c, char* out)
{
    if (c < 0x80) {
        out[0] = char(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = char(0xC0 | (c >> 6));
        out[1] = char(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = char(0xE0 | (c >> 12));
        out[1] = char(0x80 | ((c >> 6) & 0x3F));
        out[2] = char(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | (c >> 18));
    out[1] = char(0x80 | ((c >> 12) & 0x3F));
    out[2] = char(0x80 | ((c >> 6) & 0x3F));
    out[3] = char(0x80 | (c & 0x3F));
    return 4;
}

inline void append(std::string& out, char32_t c)
{
    char bytes[4];
    out.append(bytes, size_t(encode(c, bytes)));
}

} // namespace vcore::utf8
