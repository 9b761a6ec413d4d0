#pragma once
#include <cstdint>

// Unit-level helpers shared by the string and tokenizer code (C-locale rules).
namespace vcore::chars {

constexpr int32_t maxTextLength = (1 << 30) - 1;

// Length of a NUL-terminated text, clamped; 0 for an absent text.
inline int32_t length(const char16_t* text, int32_t limit = maxTextLength)
{
    if (!text || limit < 0)
        return 0;
    int32_t n = 0;
    while (n < limit && text[n])
        ++n;
    return n;
}

inline int32_t length(const char* text, int32_t limit = maxTextLength)
{
    if (!text || limit < 0)
        return 0;
    int32_t n = 0;
    while (n < limit && text[n])
        ++n;
    return n;
}

inline char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }
inline char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }
inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Whether unit occurs in the NUL-terminated set.
inline bool contains(const char16_t* set, char16_t c)
{
    for (; set && *set; ++set)
        if (*set == c)
            return true;
    return false;
}

} // namespace vcore::chars
