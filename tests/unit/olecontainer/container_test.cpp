// The container's create sequence and lifecycle, against the stand-in control.
#include <vector>

#include "standin.h"
#include "vwin/iolecontrol.h"

namespace {

// Records every CoCreateInstance attempt; can make the first ones fail.
class recordingControl : public vwin::iOleControl {
public:
    using vwin::iOleControl::iOleControl;
    std::vector<DWORD> contexts;
    int failFirst = 0;

protected:
    HRESULT createInstance(const CLSID& clsid, DWORD context, const IID& iid, void** out) override
    {
        contexts.push_back(context);
        if (int(contexts.size()) <= failFirst) {
            *out = nullptr;
            return REGDB_E_CLASSNOTREG;
        }
        return vwin::iOleControl::createInstance(clsid, context, iid, out);
    }
};

class CreateSequence : public StandinTest {};

TEST_F(CreateSequence, PreferLocalTriesTheLocalServerThenFallsBackToInProcess)
{
    // Only an in-process server is registered, so the local attempt really fails.
    recordingControl control(clsidText);
    ASSERT_TRUE(control.create(nullptr, true, nullptr));
    EXPECT_EQ(control.contexts, (std::vector<DWORD>{0x8004, 0x8001}));
    EXPECT_TRUE(control.get());
    EXPECT_TRUE(control.oleObject());
    EXPECT_TRUE(control.inPlaceObject());
    EXPECT_EQ(seen().objects, 1);
}

TEST_F(CreateSequence, WithoutPreferenceAllContextsOnceAndOnceMoreOnFailure)
{
    recordingControl first(clsidText);
    ASSERT_TRUE(first.create(nullptr, false, nullptr));
    EXPECT_EQ(first.contexts, (std::vector<DWORD>{0x17}));

    recordingControl retried(clsidText);
    retried.failFirst = 1;
    ASSERT_TRUE(retried.create(nullptr, false, nullptr));
    EXPECT_EQ(retried.contexts, (std::vector<DWORD>{0x17, 0x17}));
}

TEST_F(CreateSequence, FailsWhenBothContextsFailOrTheTextsAreNoIds)
{
    recordingControl unregistered(unknownClsid);
    EXPECT_FALSE(unregistered.create(nullptr, true, nullptr));
    EXPECT_EQ(unregistered.contexts, (std::vector<DWORD>{0x8004, 0x8001}));
    EXPECT_FALSE(unregistered.get());
    EXPECT_FALSE(unregistered.oleObject());
    EXPECT_EQ(unregistered.memberCount(), 0);

    recordingControl badClsid(u"not a class id");
    EXPECT_FALSE(badClsid.create(nullptr, false, nullptr));
    EXPECT_TRUE(badClsid.contexts.empty());

    recordingControl badIid(clsidText);
    EXPECT_FALSE(badIid.create(nullptr, false, u"{nonsense}"));
    EXPECT_TRUE(badIid.contexts.empty());
    EXPECT_EQ(seen().objects, 0);
}

TEST_F(CreateSequence, GivenTextsOverrideTheConstructionClsidAndTheDefaultIid)
{
    vwin::iOleControl control(unknownClsid);
    EXPECT_EQ(narrow(control.title()), "iOleControl-{7D1E4B60-2F3A-4C8E-9B1D-5A6C7E8F90FF}");
    ASSERT_TRUE(control.create(clsidText, false, u"{7D1E4B60-2F3A-4C8E-9B1D-5A6C7E8F9002}"));
    EXPECT_EQ(control.iid(), IID({0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x02}}));
    EXPECT_TRUE(IsEqualCLSID(control.clsid(), standinControlId));
    EXPECT_GT(control.memberCount(), 0);
}

TEST_F(CreateSequence, CreateSetsTheClientSiteOnceAndRecreatingReplacesTheControl)
{
    vwin::iOleControl control(clsidText);
    ASSERT_TRUE(control.create(nullptr, false, nullptr));
    EXPECT_EQ(seen().setClientSiteCalls, 1);
    EXPECT_TRUE(seen().siteGiven);
    ASSERT_TRUE(control.create(nullptr, false, nullptr));
    EXPECT_EQ(seen().objects, 1);
}

TEST_F(CreateSequence, DestructionReleasesTheControlWithoutClosingIt)
{
    {
        vwin::iOleControl control(clsidText);
        ASSERT_TRUE(control.create(nullptr, true, nullptr));
        ASSERT_TRUE(control.inPlaceActivate());
    }
    EXPECT_EQ(seen().objects, 0);
    EXPECT_EQ(seen().closeCalls, 0);
}

TEST_F(CreateSequence, AttachHostsAControlMadeElsewhere)
{
    IUnknown* made = nullptr;
    ASSERT_EQ(CoCreateInstance(standinControlId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IUnknown),
                               reinterpret_cast<void**>(&made)), S_OK);
    {
        vwin::iOleControl control(clsidText);
        ASSERT_TRUE(control.attach(made));
        EXPECT_TRUE(control.find(u"level"));
        EXPECT_TRUE(control.oleObject());
        EXPECT_EQ(seen().setClientSiteCalls, 1);
        EXPECT_FALSE(control.attach(nullptr));
        EXPECT_FALSE(control.oleObject());
        EXPECT_EQ(control.memberCount(), 0);
    }
    made->Release();
    EXPECT_EQ(seen().objects, 0);
}

TEST_F(CreateSequence, VerbsFailWithoutAControl)
{
    vwin::iOleControl control(clsidText);
    EXPECT_FALSE(control.inPlaceActivate());
    EXPECT_FALSE(control.show(true));
    EXPECT_FALSE(control.show(false));
    EXPECT_EQ(seen().verbs, 0);
}

} // namespace
