#pragma once
#include <cstdint>

#include "vcore/str.h"
#include "vcore/strview.h"

namespace vcore {

// Cuts a str into fields that are views into it; the str must outlive the fields unchanged.
class strtokens {
public:
    strtokens();
    virtual ~strtokens();
    strtokens(const strtokens&) = delete;
    strtokens& operator=(const strtokens&) = delete;

    // Calls split; the quoting splitter overrides it and may edit the text.
    virtual int32_t parse(str& text);
    // Splits by the tokenizer's own rule; the base class has none and gives 0.
    virtual int32_t split(const str& text);

    int32_t splitLines(const str& text);  // at line feeds, a CR before the LF dropped
    int32_t splitWords(const str& text);  // at blanks, empty fields skipped
    int32_t splitPath(const str& text);   // at '\' and '/'

    int32_t count() const { return count_; }
    int32_t capacity() const { return capacity_; }
    // Field i; an empty view out of range.
    strview token(int32_t i) const;

protected:
    void clear();
    void add(const char16_t* start, int32_t length);

private:
    void growFor(int32_t index);

    strview* items_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
};

// Splits at every occurrence of one separator character; empty fields count.
class strtokens_var : public strtokens {
public:
    explicit strtokens_var(char16_t separator = u';');
    int32_t split(const str& text) override;

    char16_t separator() const { return separator_[0]; }
    void setSeparator(char16_t separator) { separator_[0] = separator; }

private:
    char16_t separator_[2];
};

// Splits at separators outside double quotes; "" inside quotes is a literal quote.
// parse edits the text (one quote of each doubled pair is removed).
class strtokens_cpp : public strtokens {
public:
    strtokens_cpp();
    explicit strtokens_cpp(str& text);  // splits at once with the default separators
    int32_t parse(str& text) override;

    const str& separators() const { return separators_; }
    void setSeparators(const char16_t* separators) { separators_.set(separators); }

private:
    str separators_;
};

} // namespace vcore
