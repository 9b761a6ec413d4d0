#include "vcore/str.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "vcore/strchars.h"

namespace vcore {

namespace {

constexpr uint32_t textFlags = str::flagStale | str::flagGrowable;
constexpr uint32_t bufferFlags = str::flagStale | str::flagGrowable | str::flagNarrow;

int32_t clampCapacity(int32_t capacity, int32_t whenZero)
{
    if (capacity <= 0)
        return whenZero;
    return std::min(capacity, str::maxLength + 1);
}

void copyUnits(char16_t* to, const char16_t* from, int32_t count)
{
    if (count > 0)
        std::memmove(to, from, size_t(count) * sizeof(char16_t));
}

} // namespace

str::str()
{
    allocate(8, textFlags);
}

str::str(const char16_t* text)
{
    const int32_t n = chars::length(text);
    allocate(n + 1, textFlags);
    copyUnits(text_, text, n);
    setLength(n);
}

str::str(const char16_t* text, int32_t count)
{
    if (count < 0) {
        allocate(256, bufferFlags);
        set(text);
        return;
    }
    const int32_t n = chars::length(text, count);
    allocate(n + 1, bufferFlags);
    copyUnits(text_, text, n);
    setLength(n);
}

str::str(const char* narrowText)
{
    const int32_t n = chars::length(narrowText);
    allocate(narrowText ? n + 1 : 8, flagGrowable | flagNarrow);
    assignNarrow(narrowText, n);
}

str::str(strview view)
{
    allocate(view.length() + 1, bufferFlags);
    copyUnits(text_, view.data(), view.length());
    setLength(view.length());
}

str::str(int32_t capacity)
{
    allocate(clampCapacity(capacity, 64), bufferFlags);
}

str str::buffer(int32_t capacity)
{
    str s(clampCapacity(capacity, 256));
    return s;
}

str::str(const str& other)
{
    allocate(other.capacity_, other.flags_ | flagStale);
    copyUnits(text_, other.text_, other.length_);
    setLength(other.length_);
}

str::str(str&& other) noexcept
{
    allocate(8, textFlags);
    swap(other);
}

str& str::operator=(const str& other)
{
    if (this != &other) {
        str copy(other);
        swap(copy);
    }
    return *this;
}

str& str::operator=(str&& other) noexcept
{
    swap(other);
    return *this;
}

str::~str()
{
    delete[] text_;
    delete[] narrow_;
}

int64_t str::byteSize() const
{
    return int64_t(capacity_) * (narrow_ ? 3 : 2);
}

void str::setGrowable(bool growable)
{
    flags_ = growable ? (flags_ | flagGrowable) : (flags_ & ~flagGrowable);
}

void str::allocate(int32_t capacity, uint32_t flags)
{
    capacity_ = std::max(capacity, 1);
    flags_ = flags;
    text_ = new char16_t[size_t(capacity_)];
    text_[0] = 0;
    length_ = 0;
    if (flags & flagNarrow) {
        narrow_ = new char[size_t(capacity_)];
        narrow_[0] = 0;
    }
}

void str::swap(str& other) noexcept
{
    std::swap(text_, other.text_);
    std::swap(narrow_, other.narrow_);
    std::swap(capacity_, other.capacity_);
    std::swap(length_, other.length_);
    std::swap(flags_, other.flags_);
}

void str::setLength(int32_t length)
{
    length_ = length;
    text_[length] = 0;
    flags_ |= flagStale;
}

int32_t str::reserve(int32_t n, bool discard)
{
    n = std::clamp(n, 0, maxLength);
    if (n < capacity_)
        return n;
    if (!(flags_ & flagGrowable))
        return capacity_ - 1;

    int64_t grown = capacity_ > 0 ? capacity_ : 4;
    while (grown <= n)
        grown *= 2;
    const int32_t capacity = int32_t(std::min<int64_t>(grown, maxLength + 1));

    auto* text = new char16_t[size_t(capacity)];
    const int32_t kept = discard ? 0 : length_;
    copyUnits(text, text_, kept);
    delete[] text_;
    text_ = text;
    capacity_ = capacity;
    setLength(kept);

    if (narrow_) {
        delete[] narrow_;
        narrow_ = new char[size_t(capacity)];
        narrow_[0] = 0;
    }
    return n;
}

void str::clear()
{
    setLength(0);
}

void str::set(const char16_t* text)
{
    set(text, maxLength);
}

void str::set(const char16_t* text, int32_t count)
{
    int32_t n = chars::length(text, count < 0 ? maxLength : count);
    // A source inside this buffer is shorter than the capacity, so nothing is reallocated.
    n = reserve(n, true);
    copyUnits(text_, text, n);
    setLength(n);
}

void str::assignNarrow(const char* narrowText)
{
    assignNarrow(narrowText, maxLength);
}

void str::assignNarrow(const char* narrowText, int32_t count)
{
    int32_t n = chars::length(narrowText, count < 0 ? maxLength : count);
    n = reserve(n, true);
    for (int32_t i = 0; i < n; ++i)
        text_[i] = char16_t(static_cast<unsigned char>(narrowText[i]));
    setLength(n);
    if (narrow_) {
        if (n > 0)
            std::memmove(narrow_, narrowText, size_t(n));
        narrow_[n] = 0;
        flags_ &= ~flagStale;
    }
}

void str::append(const char16_t* text)
{
    append(text, maxLength);
}

void str::append(const char16_t* text, int32_t count)
{
    const int32_t n = chars::length(text, count < 0 ? maxLength : count);
    if (n == 0)
        return;
    // Appending a part of itself: the buffer may move while growing.
    const bool inside = text >= text_ && text < text_ + capacity_;
    const std::ptrdiff_t offset = inside ? text - text_ : 0;
    const int32_t total = reserve(length_ + n);
    if (inside)
        text = text_ + offset;
    const int32_t taken = std::max(0, std::min(n, total - length_));
    copyUnits(text_ + length_, text, taken);
    setLength(length_ + taken);
}

void str::prepend(const char16_t* text)
{
    const std::u16string head(text ? text : u"", size_t(chars::length(text)));
    const int32_t n = int32_t(head.size());
    if (n == 0)
        return;
    const int32_t total = reserve(length_ + n);
    const int32_t taken = std::min(n, total);
    const int32_t kept = std::min(length_, total - taken);
    copyUnits(text_ + taken, text_, kept);
    copyUnits(text_, head.data(), taken);
    setLength(taken + kept);
}

void str::remove(int32_t count, int32_t at)
{
    if (at < 0) {
        count += at;
        at = 0;
    }
    if (count <= 0 || at >= length_)
        return;
    if (count >= length_ - at) {
        setLength(at);
        return;
    }
    copyUnits(text_ + at, text_ + at + count, length_ - at - count);
    setLength(length_ - count);
}

void str::removeChars(const char16_t* set)
{
    int32_t kept = 0;
    for (int32_t i = 0; i < length_; ++i)
        if (!chars::contains(set, text_[i]))
            text_[kept++] = text_[i];
    setLength(kept);
}

void str::replaceDecimalComma()
{
    for (int32_t i = 0; i < length_; ++i)
        text_[i] = text_[i] == u',' ? u'.' : chars::lower(text_[i]);
    flags_ |= flagStale;
}

void str::toLower()
{
    for (int32_t i = 0; i < length_; ++i)
        text_[i] = chars::lower(text_[i]);
    flags_ |= flagStale;
}

void str::ensureNarrowBuffer()
{
    if (narrow_)
        return;
    narrow_ = new char[size_t(capacity_)];
    narrow_[0] = 0;
    flags_ |= flagNarrow | flagStale;
}

const char* str::narrow()
{
    ensureNarrowBuffer();
    if (flags_ & flagStale) {
        // Units the C locale cannot express become '?', the same on every target.
        for (int32_t i = 0; i < length_; ++i)
            narrow_[i] = text_[i] < 256 ? char(text_[i]) : '?';
        narrow_[length_] = 0;
        flags_ &= ~flagStale;
    }
    return narrow_;
}

char* str::narrowData()
{
    ensureNarrowBuffer();
    return narrow_;
}

void str::syncFromNarrow()
{
    if (!narrow_)
        return;
    const int32_t n = chars::length(narrow_, capacity_ - 1);
    narrow_[n] = 0;
    for (int32_t i = 0; i < n; ++i)
        text_[i] = char16_t(static_cast<unsigned char>(narrow_[i]));
    setLength(n);
    flags_ &= ~flagStale;
}

void str::syncLength()
{
    setLength(chars::length(text_, capacity_ - 1));
}

} // namespace vcore
