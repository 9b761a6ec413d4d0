// Automation by name: the member table and get, put and call through IDispatch::Invoke.
#include "vwin/idispatch.h"

#include <vector>

namespace vwin {

namespace {

bool sameName(const vcore::str& member, const char16_t* name)
{
    return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(member.data()), member.length(),
                                reinterpret_cast<const wchar_t*>(name), -1, TRUE) == CSTR_EQUAL;
}

} // namespace

iDispatch::iDispatch() = default;

iDispatch::~iDispatch()
{
    release();
}

void iDispatch::release()
{
    reset();
    members_.clear();
}

const iDispatchFunc* iDispatch::find(const char16_t* name) const
{
    if (!name)
        return nullptr;
    for (int32_t i = 0; i < members_.count(); ++i)
        if (sameName(*members_.at(i), name))
            return members_.at(i);
    return nullptr;
}

void iDispatch::buildMembers()
{
    members_.clear();
    if (!get())
        return;
    UINT count = 0;
    if (FAILED(get()->GetTypeInfoCount(&count)))
        return;
    for (UINT i = 0; i < count; ++i) {
        com_<ITypeInfo> info;
        if (FAILED(get()->GetTypeInfo(i, 0, info.put())) || !info)
            continue;
        addMembersOf(info.get());
    }
}

void iDispatch::addMembersOf(ITypeInfo* info)
{
    for (UINT j = 0; j < UINT(maxFuncsPerTypeInfo); ++j) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(j, &desc)) || !desc)
            return;
        BSTR name = nullptr;
        UINT names = 0;
        if (SUCCEEDED(info->GetNames(desc->memid, &name, 1, &names)) && names == 1 && name)
            members_.append(new iDispatchFunc(reinterpret_cast<const char16_t*>(name), desc->memid,
                                              int32_t(desc->invkind), int32_t(desc->cParams)));
        SysFreeString(name);
        info->ReleaseFuncDesc(desc);
    }
}

bool iDispatch::attach(IUnknown* from)
{
    members_.clear();
    if (!queryFrom(from))
        return false;
    buildMembers();
    return true;
}

bool iDispatch::attachLike(IUnknown* from, const iDispatch& model)
{
    members_.clear();
    if (!queryFrom(from))
        return false;
    for (int32_t i = 0; i < model.memberCount(); ++i)
        members_.append(new iDispatchFunc(*model.member(i)));
    return true;
}

variant iDispatch::getWith(const char16_t* name, VARIANT* args, UINT count)
{
    variant result;
    const iDispatchFunc* f = find(name);
    if (!get() || !f)
        return result;
    DISPPARAMS params{args, nullptr, count, 0};
    if (FAILED(get()->Invoke(f->id, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &result, nullptr, nullptr)))
        result.clear();
    return result;
}

variant iDispatch::get(const char16_t* name)
{
    return getWith(name, nullptr, 0);
}

variant iDispatch::getIndexed(const char16_t* name, const VARIANT& index)
{
    variant arg;
    if (!arg.copyFrom(index))
        return variant();
    return getWith(name, &arg, 1);
}

bool iDispatch::put(const char16_t* name, const VARIANT& value)
{
    const iDispatchFunc* f = find(name);
    if (!get() || !f)
        return false;
    variant arg;
    if (!arg.copyFrom(value))
        return false;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return SUCCEEDED(get()->Invoke(f->id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr));
}

bool iDispatch::call(const char16_t* name, VARIANT* result, variant* args, int32_t count)
{
    const iDispatchFunc* f = find(name);
    if (!get() || !f)
        return false;
    if (!args || count < 0)
        count = 0;
    const int32_t n = f->params > 0 ? f->params : 0;
    // Invoke takes the arguments last first.
    std::vector<variant> array(static_cast<size_t>(n));
    for (int32_t k = 0; k < n; ++k) {
        variant& slot = array[size_t(n - 1 - k)];
        if (k < count)
            slot.copyFrom(args[k]);
        else
            slot = variant::text(u"");
    }
    DISPPARAMS params{n ? array.data() : nullptr, nullptr, UINT(n), 0};
    EXCEPINFO error{};
    UINT badArg = 0;
    if (result)
        VariantClear(result);
    const HRESULT hr = get()->Invoke(f->id, IID_NULL, 0xFFFFFFFF, DISPATCH_METHOD, &params, result,
                                     &error, &badArg);
    if (hr == DISP_E_EXCEPTION) {
        if (error.pfnDeferredFillIn)
            error.pfnDeferredFillIn(&error);
        SysFreeString(error.bstrSource);
        SysFreeString(error.bstrDescription);
        SysFreeString(error.bstrHelpFile);
    }
    for (int32_t k = 0; k < n && k < count; ++k)
        args[k].copyFrom(array[size_t(n - 1 - k)]);
    return SUCCEEDED(hr);
}

} // namespace vwin
