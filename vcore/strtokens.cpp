#include "vcore/strtokens.h"

#include <algorithm>

#include "vcore/strchars.h"

namespace vcore {

strtokens::strtokens()
    : items_(new strview[32]), capacity_(32)
{
}

strtokens::~strtokens()
{
    delete[] items_;
}

int32_t strtokens::parse(str& text)
{
    return split(text);
}

int32_t strtokens::split(const str&)
{
    clear();
    return 0;
}

strview strtokens::token(int32_t i) const
{
    return i >= 0 && i < count_ ? items_[i] : strview();
}

void strtokens::clear()
{
    std::fill(items_, items_ + count_, strview());
    count_ = 0;
}

void strtokens::growFor(int32_t index)
{
    int64_t capacity = capacity_;
    while (capacity <= index)
        capacity *= 4;
    auto* items = new strview[size_t(capacity)];
    std::copy(items_, items_ + count_, items);
    delete[] items_;
    items_ = items;
    capacity_ = int32_t(std::min<int64_t>(capacity, INT32_MAX));
}

void strtokens::add(const char16_t* start, int32_t length)
{
    if (count_ >= capacity_)
        growFor(count_);
    items_[count_++] = strview(start, length);
}

int32_t strtokens::splitLines(const str& text)
{
    clear();
    const char16_t* t = text.data();
    const int32_t n = text.length();
    int32_t start = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (t[i] != u'\n')
            continue;
        const int32_t end = (i > start && t[i - 1] == u'\r') ? i - 1 : i;
        add(t + start, end - start);
        start = i + 1;
    }
    if (start < n)
        add(t + start, n - start);
    return count_;
}

int32_t strtokens::splitWords(const str& text)
{
    clear();
    const char16_t* t = text.data();
    const int32_t n = text.length();
    int32_t start = 0;
    for (int32_t i = 0; i <= n; ++i) {
        if (i < n && !chars::contains(u" \t\n\r", t[i]))
            continue;
        if (i > start)
            add(t + start, i - start);
        start = i + 1;
    }
    return count_;
}

int32_t strtokens::splitPath(const str& text)
{
    clear();
    const char16_t* t = text.data();
    const int32_t n = text.length();
    int32_t start = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (t[i] != u'\\' && t[i] != u'/')
            continue;
        add(t + start, i - start);
        start = i + 1;
    }
    if (start < n)
        add(t + start, n - start);
    return count_;
}

} // namespace vcore
