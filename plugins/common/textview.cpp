#include "plugins/common/textview.h"

#include <algorithm>

#include "vcore/strchars.h"

namespace media {

vcore::strview viewOf(const char16_t* text)
{
    return vcore::strview(text, vcore::chars::length(text));
}

vcore::strview slice(vcore::strview text, int32_t from, int32_t to)
{
    from = std::clamp(from, 0, text.length());
    to = std::clamp(to, from, text.length());
    return vcore::strview(text.data() + from, to - from);
}

vcore::strview trimmed(vcore::strview text, const char16_t* chars)
{
    int32_t begin = 0;
    int32_t end = text.length();
    while (begin < end && vcore::chars::contains(chars, text[begin]))
        ++begin;
    while (end > begin && vcore::chars::contains(chars, text[end - 1]))
        --end;
    return slice(text, begin, end);
}

bool equalsIgnoreCase(vcore::strview text, vcore::strview other)
{
    return text.length() == other.length() && startsWithIgnoreCase(text, other);
}

bool startsWithIgnoreCase(vcore::strview text, vcore::strview prefix)
{
    if (prefix.length() > text.length())
        return false;
    for (int32_t i = 0; i < prefix.length(); ++i)
        if (vcore::chars::lower(text[i]) != vcore::chars::lower(prefix[i]))
            return false;
    return true;
}

int32_t findText(vcore::strview text, vcore::strview needle, int32_t from)
{
    const int32_t last = text.length() - needle.length();
    for (int32_t i = std::max(from, 0); i <= last; ++i) {
        int32_t n = 0;
        while (n < needle.length() && text[i + n] == needle[n])
            ++n;
        if (n == needle.length())
            return i;
    }
    return -1;
}

int32_t findUnit(vcore::strview text, char16_t unit, int32_t from)
{
    for (int32_t i = std::max(from, 0); i < text.length(); ++i)
        if (text[i] == unit)
            return i;
    return -1;
}

int32_t findLastUnit(vcore::strview text, char16_t unit)
{
    for (int32_t i = text.length() - 1; i >= 0; --i)
        if (text[i] == unit)
            return i;
    return -1;
}

} // namespace media
