// The member table's bound: a type information that never runs out of functions.
#include <string>

#include <gtest/gtest.h>

#include "vwin/idispatch.h"

namespace {

// Every index has a function "f<index>"; counts the descriptions given back.
class endlessTypeInfo : public ITypeInfo {
public:
    long outstanding = 0;

    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC** out) override
    {
        auto* desc = new FUNCDESC{};
        desc->memid = MEMBERID(index);
        desc->invkind = INVOKE_FUNC;
        desc->cParams = 2;
        *out = desc;
        ++outstanding;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID id, BSTR* names, UINT, UINT* count) override
    {
        names[0] = SysAllocString((L"f" + std::to_wstring(id)).c_str());
        *count = 1;
        return S_OK;
    }
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC* desc) override
    {
        delete desc;
        --outstanding;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID, BSTR*, BSTR*, DWORD*, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR*) override {}
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}
};

// Two type informations, the second one endless too; nothing can be invoked.
class endlessDispatch : public IDispatch {
public:
    endlessTypeInfo info;
    ULONG refs = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch))
            return E_NOINTERFACE;
        *out = this;
        ++refs;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 2;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override
    {
        *out = &info;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }
};

TEST(MemberTable, StopsAt1024FunctionsPerTypeInformationAndGivesEveryDescriptionBack)
{
    endlessDispatch object;
    {
        vwin::iDispatch wrapper;
        ASSERT_TRUE(wrapper.attach(&object));
        EXPECT_EQ(wrapper.memberCount(), 2 * 1024);
        EXPECT_EQ(object.info.outstanding, 0);
        const vwin::iDispatchFunc* last = wrapper.find(u"F1023");
        ASSERT_TRUE(last);
        EXPECT_EQ(last->id, 1023);
        EXPECT_EQ(last->params, 2);
        EXPECT_EQ(wrapper.find(u"f1024"), nullptr);
        EXPECT_FALSE(wrapper.call(u"f1", nullptr, nullptr, 0));
    }
    EXPECT_EQ(object.refs, 1u) << "the wrapper gave its reference back";
}

} // namespace
