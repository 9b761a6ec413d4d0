// Values sent to automation members and numbers read back from them.
#include <climits>

#include <gtest/gtest.h>

#include "vwin/variant.h"

namespace {

TEST(VariantMake, EachKindCarriesItsAutomationType)
{
    EXPECT_EQ(vwin::variant::boolean(true).vt, VT_BOOL);
    EXPECT_EQ(vwin::variant::boolean(true).boolVal, -1);
    EXPECT_EQ(vwin::variant::boolean(false).boolVal, 0);
    EXPECT_EQ(vwin::variant::integer(-5).vt, VT_I4);
    EXPECT_EQ(vwin::variant::integer(-5).lVal, -5);
    EXPECT_EQ(vwin::variant::real(0.25).vt, VT_R8);
    EXPECT_EQ(vwin::variant::real(0.25).dblVal, 0.25);

    vwin::variant text = vwin::variant::text(u"Ab");
    ASSERT_EQ(text.vt, VT_BSTR);
    EXPECT_EQ(SysStringLen(text.bstrVal), 2u);
    EXPECT_EQ(text.bstrVal[1], L'b');
    vwin::variant none = vwin::variant::text(nullptr);
    ASSERT_EQ(none.vt, VT_BSTR);
    ASSERT_TRUE(none.bstrVal);
    EXPECT_EQ(SysStringLen(none.bstrVal), 0u);
}

TEST(VariantMake, CopiesAndMovesKeepTheirOwnText)
{
    vwin::variant original = vwin::variant::text(u"kept");
    vwin::variant copy = original;
    EXPECT_NE(copy.bstrVal, original.bstrVal);
    vwin::variant moved = std::move(copy);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(moved.bstrVal[0], L'k');
    vwin::variant assigned;
    assigned = moved;
    EXPECT_EQ(SysStringLen(assigned.bstrVal), 4u);
}

TEST(VariantRead, NumbersBooleansAndTexts)
{
    EXPECT_EQ(vwin::toInt(vwin::variant::integer(42)), 42);
    EXPECT_DOUBLE_EQ(vwin::toReal(vwin::variant::integer(42)), 42.0);
    EXPECT_DOUBLE_EQ(vwin::toReal(vwin::variant::real(0.75)), 0.75);
    EXPECT_EQ(vwin::toInt(vwin::variant::real(12.7)), 12);
    EXPECT_EQ(vwin::toInt(vwin::variant::real(-12.7)), -12);
    EXPECT_EQ(vwin::toInt(vwin::variant::real(1e12)), INT_MAX);
    EXPECT_EQ(vwin::toInt(vwin::variant::real(-1e12)), INT_MIN);
    EXPECT_EQ(vwin::toInt(vwin::variant::boolean(true)), 1);
    EXPECT_DOUBLE_EQ(vwin::toReal(vwin::variant::boolean(false)), 0.0);

    vwin::variant small;
    small.vt = VT_UI1;
    small.bVal = 200;
    EXPECT_EQ(vwin::toInt(small), 200);
    vwin::variant wide;
    wide.vt = VT_I8;
    wide.llVal = 5000000000LL;
    EXPECT_DOUBLE_EQ(vwin::toReal(wide), 5e9);

    EXPECT_EQ(vwin::toInt(vwin::variant::text(u"12.0.7601.17514")), 12);
    EXPECT_DOUBLE_EQ(vwin::toReal(vwin::variant::text(u"12.0.7601.17514")), 12.0);
    EXPECT_DOUBLE_EQ(vwin::toReal(vwin::variant::text(u"-3.5 dB")), -3.5);
    EXPECT_EQ(vwin::toInt(vwin::variant::text(u"-3.5 dB")), -3);
    EXPECT_EQ(vwin::toInt(vwin::variant::text(u"volume")), 0);
    EXPECT_EQ(vwin::toInt(vwin::variant::text(u"")), 0);
}

TEST(VariantRead, ByReferenceValuesAreFollowed)
{
    LONG target = 77;
    vwin::variant ref;
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &target;
    EXPECT_EQ(vwin::toInt(ref), 77);

    VARIANT inner;
    VariantInit(&inner);
    inner.vt = VT_R8;
    inner.dblVal = 2.5;
    VARIANT outer;
    VariantInit(&outer);
    outer.vt = VT_BYREF | VT_VARIANT;
    outer.pvarVal = &inner;
    EXPECT_DOUBLE_EQ(vwin::toReal(outer), 2.5);

    BSTR text = SysAllocString(L"8 items");
    vwin::variant textRef;
    textRef.vt = VT_BYREF | VT_BSTR;
    textRef.pbstrVal = &text;
    EXPECT_EQ(vwin::toInt(textRef), 8);
    SysFreeString(text);

    vwin::variant dangling;
    dangling.vt = VT_BYREF | VT_VARIANT;
    dangling.pvarVal = nullptr;
    EXPECT_EQ(vwin::toInt(dangling), 0);
    dangling.vt = VT_EMPTY;
}

TEST(VariantRead, EverythingElseIsZero)
{
    EXPECT_EQ(vwin::toInt(vwin::variant()), 0);
    vwin::variant null;
    null.vt = VT_NULL;
    EXPECT_DOUBLE_EQ(vwin::toReal(null), 0.0);
    EXPECT_EQ(vwin::toInt(vwin::variant::object(nullptr)), 0);
}

} // namespace
