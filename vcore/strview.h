#pragma once
#include <cstdint>

namespace vcore {

// A borrowed run of UTF-16 units (pointer + 32-bit length); owns nothing.
class strview {
public:
    constexpr strview() = default;
    constexpr strview(const char16_t* text, int32_t length)
        : text_(text), length_(text ? (length > 0 ? length : 0) : 0) {}

    constexpr const char16_t* data() const { return text_; }
    constexpr int32_t length() const { return length_; }
    constexpr bool empty() const { return length_ == 0; }
    constexpr char16_t operator[](int32_t i) const { return text_[i]; }

    // Unit-by-unit equality with a NUL-terminated text; an absent text equals an empty view.
    bool equals(const char16_t* text) const;
    bool equals(strview other) const;

private:
    const char16_t* text_ = nullptr;
    int32_t length_ = 0;
};

} // namespace vcore
