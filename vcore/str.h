#pragma once
#include <cstdarg>
#include <cstdint>

#include "vcore/strview.h"

namespace vcore {

// Growable UTF-16 text with a lazily rebuilt narrow (one byte per unit) shadow copy.
class str {
public:
    // Bits of flags().
    static constexpr uint32_t flagStale = 0x1;     // narrow copy is out of date
    static constexpr uint32_t flagGrowable = 0x2;  // may reallocate; otherwise results are cut
    static constexpr uint32_t flagNarrow = 0x4;    // a narrow buffer exists beside the text
    // Longest length taken from a C text.
    static constexpr int32_t maxLength = (1 << 30) - 1;

    str();                                   // capacity 8
    str(const char16_t* text);               // capacity length + 1
    str(const char16_t* text, int32_t count); // at most count units; count -1: whole text, capacity 256
    str(const char* narrowText);             // each byte widened; keeps the bytes as narrow copy
    str(strview view);                       // capacity length + 1
    explicit str(int32_t capacity);          // empty, with a narrow buffer; 0 gives 64
    static str buffer(int32_t capacity);     // the same, but 0 gives 256
    str(const str& other);
    str(str&& other) noexcept;
    str& operator=(const str& other);
    str& operator=(str&& other) noexcept;
    str& operator=(const char16_t* text) { set(text); return *this; }
    virtual ~str();

    // Memory the string holds, in bytes.
    virtual int64_t byteSize() const;

    char16_t* data() { return text_; }
    const char16_t* data() const { return text_; }
    int32_t length() const { return length_; }
    int32_t capacity() const { return capacity_; }
    uint32_t flags() const { return flags_; }
    bool empty() const { return length_ == 0; }
    char16_t& operator[](int32_t i) { return text_[i]; }
    char16_t operator[](int32_t i) const { return text_[i]; }
    strview view() const { return strview(text_, length_); }
    void setGrowable(bool growable);

    // Makes room for n units plus terminator; returns how many units the caller may use
    // (n, or capacity - 1 when not growable). discard: old content need not be kept.
    int32_t reserve(int32_t n, bool discard = false);

    void clear();
    void set(const char16_t* text);
    void set(const char16_t* text, int32_t count);
    void set(const str& other) { set(other.text_, other.length_); }
    void set(strview view) { set(view.data(), view.length()); }
    void assignNarrow(const char* narrowText);
    void assignNarrow(const char* narrowText, int32_t count);
    void append(const char16_t* text);
    void append(const char16_t* text, int32_t count);
    void append(const str& other) { append(other.text_, other.length_); }
    void append(strview view) { append(view.data(), view.length()); }
    void append(char16_t unit) { append(&unit, 1); }
    void prepend(const char16_t* text);
    str& operator+=(const char16_t* text) { append(text); return *this; }
    str& operator+=(const str& other) { append(other); return *this; }
    str& operator+=(char16_t unit) { append(unit); return *this; }

    void remove(int32_t count, int32_t at);
    void removeChars(const char16_t* set);
    void replaceDecimalComma();
    void toLower();

    int32_t find(int32_t from, const char16_t* chars) const;
    int32_t find(int32_t from, char16_t unit) const;
    int32_t findLastOf(int32_t before, const char16_t* chars) const;
    int32_t findLast(char16_t unit) const;
    strview mid(int32_t index, int32_t count) const;
    strview mid(int32_t index) const { return mid(index, length_); }

    bool equals(const str& other) const;
    bool equals(const char16_t* text) const;
    bool operator==(const str& other) const { return equals(other); }
    bool operator==(const char16_t* text) const { return equals(text); }
    int32_t compare(const str& other) const;
    int32_t compare(const char16_t* text) const;
    // Case-insensitive positional likeness, 0..1, early positions weighing most.
    static double similarity(const char16_t* text, const char16_t* pattern);
    double similarity(const char16_t* pattern) const { return similarity(text_, pattern); }

    int32_t toInt() const;
    double toReal() const;
    double evaluate() const;

    // printf-style: %s is a UTF-16 text, %hs a narrow one, %c a UTF-16 unit; numbers as printf.
    // Replaces the content; returns the new length.
    int32_t format(const char16_t* fmt, ...);
    int32_t vformat(const char16_t* fmt, va_list args);
    // A new growable text holding the formatted result.
    static str formatted(const char16_t* fmt, ...);

    // The narrow copy (units above 255 become '?'), rebuilt when stale.
    const char* narrow();
    // Writable narrow buffer of capacity() bytes, for filling in place before syncFromNarrow().
    char* narrowData();
    void syncFromNarrow();
    void syncLength();

    // In place: text becomes its UTF-8 bytes (one unit per byte), and back.
    int32_t toUtf8();
    int32_t fromUtf8();

private:
    void allocate(int32_t capacity, uint32_t flags);
    void setLength(int32_t length);
    void ensureNarrowBuffer();
    void swap(str& other) noexcept;

    char16_t* text_ = nullptr;
    char* narrow_ = nullptr;
    int32_t capacity_ = 0;
    int32_t length_ = 0;
    uint32_t flags_ = 0;
};

} // namespace vcore
