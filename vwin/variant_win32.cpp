// VARIANT construction and numeric reading. The OLE functions take non-const sources they
// never change, hence the const_casts.
#include "vwin/variant.h"

#include <cmath>
#include <utility>

#include "vcore/str.h"

namespace vwin {

variant::variant(const variant& other)
{
    VariantInit(this);
    VariantCopy(this, const_cast<variant*>(&other));
}

variant& variant::operator=(const variant& other)
{
    if (this != &other)
        VariantCopy(this, const_cast<variant*>(&other));
    return *this;
}

variant::variant(variant&& other) noexcept
{
    *static_cast<VARIANT*>(this) = other;
    VariantInit(&other);
}

variant& variant::operator=(variant&& other) noexcept
{
    if (this != &other) {
        VariantClear(this);
        *static_cast<VARIANT*>(this) = other;
        VariantInit(&other);
    }
    return *this;
}

variant variant::boolean(bool value)
{
    variant v;
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

variant variant::integer(int32_t value)
{
    variant v;
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

variant variant::real(double value)
{
    variant v;
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

variant variant::text(const char16_t* value)
{
    variant v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(value ? reinterpret_cast<const OLECHAR*>(value) : L"");
    return v;
}

variant variant::object(IDispatch* value)
{
    variant v;
    v.vt = VT_DISPATCH;
    v.pdispVal = value;
    if (value)
        value->AddRef();
    return v;
}

bool variant::copyFrom(const VARIANT& value)
{
    return SUCCEEDED(VariantCopy(this, const_cast<VARIANT*>(&value)));
}

namespace {

// A by-reference VARIANT of VARIANT may nest; the depth bound keeps a cycle finite.
const VARIANT* direct(const VARIANT& value, variant& holder)
{
    const VARIANT* at = &value;
    for (int depth = 0; depth < 8 && at->vt == (VT_BYREF | VT_VARIANT); ++depth) {
        if (!at->pvarVal)
            return nullptr;
        at = at->pvarVal;
    }
    if (!(at->vt & VT_BYREF))
        return at;
    if (FAILED(VariantCopyInd(&holder, const_cast<VARIANT*>(at))))
        return nullptr;
    return &holder;
}

bool isText(const VARIANT* value)
{
    return value->vt == VT_BSTR;
}

vcore::str textOf(const VARIANT* value)
{
    if (!value->bstrVal)
        return vcore::str();
    return vcore::str(reinterpret_cast<const char16_t*>(value->bstrVal), int32_t(SysStringLen(value->bstrVal)));
}

bool isNumberLike(VARTYPE type)
{
    switch (type) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
    case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
    case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_DECIMAL: case VT_BOOL:
        return true;
    default:
        return false;
    }
}

} // namespace

double toReal(const VARIANT& value)
{
    variant holder;
    const VARIANT* v = direct(value, holder);
    if (!v)
        return 0.0;
    if (isText(v))
        return textOf(v).toReal();
    if (v->vt == VT_BOOL)
        return v->boolVal ? 1.0 : 0.0;
    if (!isNumberLike(v->vt))
        return 0.0;
    variant converted;
    if (FAILED(VariantChangeType(&converted, const_cast<VARIANT*>(v), 0, VT_R8)))
        return 0.0;
    return converted.dblVal;
}

int32_t toInt(const VARIANT& value)
{
    variant holder;
    const VARIANT* v = direct(value, holder);
    if (v && isText(v))
        return textOf(v).toInt();
    const double real = toReal(value);
    if (std::isnan(real))
        return 0;
    if (real >= 2147483647.0)
        return INT32_MAX;
    if (real <= -2147483648.0)
        return INT32_MIN;
    return int32_t(std::trunc(real));
}

} // namespace vwin
