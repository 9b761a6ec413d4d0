// IDispatch of the stand-in's objects over the type library built into this module.
#include "standin.h"

namespace standin {

namespace {

HMODULE thisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

ITypeLib* library()
{
    static ITypeLib* loaded = [] {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(thisModule(), path, MAX_PATH);
        ITypeLib* lib = nullptr;
        if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &lib)))
            lib = nullptr;
        return lib;
    }();
    return loaded;
}

} // namespace

ITypeInfo* typeInfoOf(REFIID dispinterface)
{
    ITypeInfo* info = nullptr;
    if (!library() || FAILED(library()->GetTypeInfoOfGuid(dispinterface, &info)))
        return nullptr;
    return info;
}

HRESULT STDMETHODCALLTYPE dispatchObject::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE dispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    *info = typeInfoOf(dispinterface_);
    return *info ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE dispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    ITypeInfo* info = typeInfoOf(dispinterface_);
    if (!info)
        return E_FAIL;
    const HRESULT hr = DispGetIDsOfNames(info, names, count, ids);
    info->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE dispatchObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                                 VARIANT* result, EXCEPINFO*, UINT*)
{
    // A put names its value DISPID_PROPERTYPUT, as a real control insists.
    const bool namedPut = params && params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                          params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    if ((flags & DISPATCH_PROPERTYPUT) && !namedPut)
        return DISP_E_PARAMNOTFOUND;
    std::vector<VARIANT*> args;
    if (params) {
        // The positional arguments arrive last first; a put's value is the named one.
        for (UINT k = params->cArgs; k > 0; --k)
            args.push_back(&params->rgvarg[k - 1]);
    }
    if (result)
        VariantInit(result);
    return invoke(id, flags, args, result);
}

} // namespace standin
