// Remote mode as the site tells the media player control.
#include "plugins/wmp12/remotemediaservices.h"

namespace vwin {

HRESULT STDMETHODCALLTYPE IWMPRemoteMediaServices::GetServiceType(BSTR* type)
{
    if (!type)
        return E_POINTER;
    *type = SysAllocString(L"Remote");
    return *type ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE IWMPRemoteMediaServices::GetApplicationName(BSTR* name)
{
    if (!name)
        return E_POINTER;
    *name = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE IWMPRemoteMediaServices::GetScriptableObject(BSTR* name, IDispatch** object)
{
    if (name)
        *name = nullptr;
    if (object)
        *object = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE IWMPRemoteMediaServices::GetCustomUIMode(BSTR* file)
{
    if (file)
        *file = nullptr;
    return E_NOTIMPL;
}

} // namespace vwin
