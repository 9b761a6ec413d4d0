#pragma once
#include <windows.h>
#include <oaidl.h>

namespace vwin {

// The container's own IDispatch, which a control asks for ambient properties: it has no type
// information and every property reads as VT_BOOL 1. Reference counting is left to the owner
// (AddRef and Release answer 1). Windows only.
class vDispatch : public IDispatch {
public:
    virtual ~vDispatch() = default;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* error, UINT* badArg) override;
};

} // namespace vwin
