// Searching, slicing and comparing texts.
#include <algorithm>
#include <cstring>

#include "vcore/str.h"
#include "vcore/strchars.h"

namespace vcore {

bool strview::equals(const char16_t* text) const
{
    if (!text)
        return length_ == 0;
    for (int32_t i = 0; i < length_; ++i)
        if (text[i] != text_[i])
            return false;
    return text[length_] == 0;
}

bool strview::equals(strview other) const
{
    return length_ == other.length_ &&
           (length_ == 0 || std::memcmp(text_, other.text_, size_t(length_) * sizeof(char16_t)) == 0);
}

int32_t str::find(int32_t from, const char16_t* chars) const
{
    const int32_t n = chars::length(chars);
    if (n == 1)
        return find(from, chars[0]);
    if (n == 0)
        return -1;
    for (int32_t i = std::max(from, 0); i < length_; ++i)
        if (chars::contains(chars, text_[i]))
            return i;
    return -1;
}

int32_t str::find(int32_t from, char16_t unit) const
{
    for (int32_t i = std::max(from, 0); i < length_; ++i)
        if (text_[i] == unit)
            return i;
    return -1;
}

int32_t str::findLastOf(int32_t before, const char16_t* chars) const
{
    for (int32_t i = std::min(before, length_ - 1); i >= 0; --i)
        if (chars::contains(chars, text_[i]))
            return i;
    return -1;
}

int32_t str::findLast(char16_t unit) const
{
    for (int32_t i = length_ - 1; i >= 0; --i)
        if (text_[i] == unit)
            return i;
    return -1;
}

strview str::mid(int32_t index, int32_t count) const
{
    if (index < 0) {
        count += index;
        index = 0;
    }
    index = std::min(index, length_);
    count = std::clamp(count, 0, length_ - index);
    return strview(text_ + index, count);
}

bool str::equals(const str& other) const
{
    return view().equals(other.view());
}

bool str::equals(const char16_t* text) const
{
    return view().equals(text);
}

int32_t str::compare(const str& other) const
{
    const int32_t n = std::min(length_, other.length_);
    for (int32_t i = 0; i < n; ++i)
        if (text_[i] != other.text_[i])
            return text_[i] < other.text_[i] ? -1 : 1;
    return length_ == other.length_ ? 0 : (length_ < other.length_ ? -1 : 1);
}

int32_t str::compare(const char16_t* text) const
{
    const char16_t* other = text ? text : u"";
    for (int32_t i = 0; i <= length_; ++i) {
        const char16_t mine = i < length_ ? text_[i] : 0;
        if (mine != other[i])
            return mine < other[i] ? -1 : 1;
        if (mine == 0)
            return 0;
    }
    return 0;
}

double str::similarity(const char16_t* text, const char16_t* pattern)
{
    const int32_t n = std::min(chars::length(text), chars::length(pattern));
    int64_t weight = 1000, score = 0, total = 0;
    for (int32_t i = 0; i < n; ++i) {
        total += weight;
        if (chars::upper(text[i]) == chars::upper(pattern[i]))
            score += weight;
        weight = weight * 2 / 3;
    }
    return total > 0 ? double(score) / double(total) : 0.0;
}

} // namespace vcore
