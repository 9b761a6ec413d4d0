// Automation by name: the member table, get, put, indexed get and call.
#include "standin.h"
#include "vwin/idispatch.h"
#include "vwin/iolecontrol.h"

namespace {

std::string textOf(const VARIANT& v)
{
    if (v.vt != VT_BSTR || !v.bstrVal)
        return "<not text>";
    return narrow(vcore::str(reinterpret_cast<const char16_t*>(v.bstrVal)));
}

class Dispatch : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        ASSERT_TRUE(control.create(nullptr, false, nullptr));
    }
    vwin::iOleControl control{vcore::str(clsidText)};
};

TEST_F(Dispatch, PropertyWithGetAndPutGivesTwoEntriesFoundWithoutRegardToCase)
{
    int entries = 0;
    int kinds = 0;
    for (int32_t i = 0; i < control.memberCount(); ++i) {
        const vwin::iDispatchFunc* f = control.member(i);
        if (*f == vcore::str(u"level")) {
            ++entries;
            kinds |= f->invokeKind;
            EXPECT_EQ(f->id, 1);
        }
    }
    EXPECT_EQ(entries, 2);
    EXPECT_EQ(kinds, INVOKE_PROPERTYGET | INVOKE_PROPERTYPUT);

    const vwin::iDispatchFunc* upper = control.find(u"LEVEL");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper, control.find(u"level"));
    EXPECT_EQ(control.find(u"VersionINFO")->id, 4);
    EXPECT_EQ(control.find(u"combine")->params, 3);
    EXPECT_EQ(control.find(u"item")->params, 1);
    EXPECT_EQ(control.find(u"levels"), nullptr);
    EXPECT_EQ(control.find(nullptr), nullptr);
}

TEST_F(Dispatch, PutThenGetAndIndexedGet)
{
    EXPECT_TRUE(control.put(u"Level", vwin::variant::integer(42)));
    vwin::variant level = control.get(u"level");
    EXPECT_EQ(level.vt, VT_I4);
    EXPECT_EQ(vwin::toInt(level), 42);

    EXPECT_TRUE(control.put(u"level", vwin::variant::text(u"17")));
    EXPECT_EQ(vwin::toInt(control.get(u"level")), 17);
    EXPECT_FALSE(control.put(u"level", vwin::variant::text(u"many")));

    EXPECT_EQ(textOf(control.getIndexed(u"item", vwin::variant::integer(3))), "item 3");
}

TEST_F(Dispatch, VersionTextReadsByItsLeadingNumber)
{
    vwin::variant version = control.get(u"versionInfo");
    EXPECT_EQ(textOf(version), "12.0.7601.17514");
    EXPECT_EQ(vwin::toInt(version), 12);
    EXPECT_DOUBLE_EQ(vwin::toReal(version), 12.0);
}

TEST_F(Dispatch, CallSendsArgumentsLastFirstFillsMissingWithEmptyTextAndCopiesBack)
{
    vwin::variant args[2] = {vwin::variant::integer(7), vwin::variant::text(u"b")};
    vwin::variant result;
    ASSERT_TRUE(control.call(u"combine", &result, args, 2));
    // The stand-in lists what reached each parameter as "type:value", in declaration order.
    EXPECT_EQ(textOf(result), "3:7;8:b;8:;");
    EXPECT_EQ(args[0].vt, VT_I4);
    EXPECT_EQ(args[0].lVal, 70);
    EXPECT_EQ(textOf(args[1]), "b+");
}

TEST_F(Dispatch, CallWritesThroughByReferenceArgumentsAndIgnoresExtraOnes)
{
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_I4;
    target.lVal = 5;
    vwin::variant args[4];
    args[0].vt = VT_BYREF | VT_VARIANT;
    args[0].pvarVal = &target;
    args[1] = vwin::variant::text(u"x");
    args[2] = vwin::variant::integer(1);
    args[3] = vwin::variant::text(u"left alone");
    ASSERT_TRUE(control.call(u"combine", nullptr, args, 4));
    EXPECT_EQ(target.lVal, 50);
    EXPECT_EQ(vwin::toInt(args[0]), 50);
    EXPECT_EQ(args[2].lVal, 10);
    EXPECT_EQ(textOf(args[3]), "left alone");
}

TEST_F(Dispatch, FailuresAndUnknownNamesGiveEmptyResults)
{
    vwin::variant broken = control.get(u"broken");
    EXPECT_TRUE(broken.empty());
    EXPECT_TRUE(control.get(u"nothing").empty());
    EXPECT_TRUE(control.getIndexed(u"nothing", vwin::variant::integer(1)).empty());
    EXPECT_FALSE(control.put(u"nothing", vwin::variant::integer(1)));
    vwin::variant result = vwin::variant::integer(9);
    EXPECT_FALSE(control.call(u"nothing", &result, nullptr, 0));
    EXPECT_FALSE(control.call(u"status", nullptr, nullptr, 0)) << "no in-place site yet";
}

TEST(DispatchWithoutInterface, EverythingIsEmptyOrFalse)
{
    vwin::iDispatch none;
    EXPECT_EQ(none.memberCount(), 0);
    EXPECT_EQ(none.find(u"level"), nullptr);
    EXPECT_TRUE(none.get(u"level").empty());
    EXPECT_TRUE(none.getIndexed(u"item", vwin::variant::integer(0)).empty());
    EXPECT_FALSE(none.put(u"level", vwin::variant::integer(1)));
    vwin::variant arg = vwin::variant::integer(3);
    EXPECT_FALSE(none.call(u"combine", nullptr, &arg, 1));
    EXPECT_EQ(arg.lVal, 3);
    EXPECT_FALSE(none.attach(nullptr));
    none.buildMembers();
    EXPECT_EQ(none.memberCount(), 0);
}

TEST_F(Dispatch, AttachTakesAnotherObjectsMembers)
{
    vwin::iDispatch wrapper;
    ASSERT_TRUE(wrapper.attach(control.get()));
    EXPECT_EQ(wrapper.memberCount(), control.memberCount());
    EXPECT_TRUE(wrapper.put(u"level", vwin::variant::integer(8)));
    EXPECT_EQ(vwin::toInt(control.get(u"level")), 8);
}

} // namespace
