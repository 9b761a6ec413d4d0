// Ambient properties of the container.
#include "vwin/vdispatch.h"

namespace vwin {

HRESULT STDMETHODCALLTYPE vDispatch::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE vDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE vDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE vDispatch::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                            EXCEPINFO*, UINT*)
{
    if (result) {
        VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = 1;
    }
    return S_OK;
}

} // namespace vwin
