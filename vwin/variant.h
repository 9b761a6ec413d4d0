#pragma once
#include <cstdint>

#include <windows.h>
#include <oaidl.h>

namespace vwin {

// A VARIANT that clears itself: the values sent to and read from automation members. Windows only.
class variant : public VARIANT {
public:
    variant() { VariantInit(this); }
    ~variant() { VariantClear(this); }
    variant(const variant& other);
    variant& operator=(const variant& other);
    variant(variant&& other) noexcept;
    variant& operator=(variant&& other) noexcept;

    static variant boolean(bool value);          // VT_BOOL, -1 or 0
    static variant integer(int32_t value);       // VT_I4
    static variant real(double value);           // VT_R8
    static variant text(const char16_t* value);  // VT_BSTR; null gives empty text
    static variant object(IDispatch* value);     // VT_DISPATCH, adds a reference

    bool empty() const { return vt == VT_EMPTY; }
    void clear() { VariantClear(this); }
    // Replaces the content with a copy of value; a by-reference value stays one.
    bool copyFrom(const VARIANT& value);
};

// Arrays of variant are handed to IDispatch::Invoke as arrays of VARIANT.
static_assert(sizeof(variant) == sizeof(VARIANT));

// Any numeric, boolean, text or by-reference VARIANT as a number; 0 for anything else.
// Text counts by its leading number ("12.0.7601.17514": 12.0 and 12); true is 1;
// reals become integers by truncation toward zero, saturating at the 32-bit bounds.
double toReal(const VARIANT& value);
int32_t toInt(const VARIANT& value);

} // namespace vwin
