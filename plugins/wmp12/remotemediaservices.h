#pragma once
#include <windows.h>
#include <oaidl.h>

namespace vwin {

// The site's answers to the media player control in remote mode: the control then attaches to
// the running player instead of playing itself. Laid out as the control's interface
// {CBB92747-741F-44FE-AB5B-F1A48F3B2A59}; the IUnknown part is the deriving host's. Windows only.
class IWMPRemoteMediaServices : public IUnknown {
public:
    static constexpr IID id = {0xcbb92747, 0x741f, 0x44fe, {0xab, 0x5b, 0xf1, 0xa4, 0x8f, 0x3b, 0x2a, 0x59}};

    // No virtual destructor: it would take vtable slots the control calls methods through.

    // "Remote"
    virtual HRESULT STDMETHODCALLTYPE GetServiceType(BSTR* type);
    // A null text
    virtual HRESULT STDMETHODCALLTYPE GetApplicationName(BSTR* name);
    // Nothing: null name, null object, E_NOTIMPL
    virtual HRESULT STDMETHODCALLTYPE GetScriptableObject(BSTR* name, IDispatch** object);
    // No custom skin: a null text and a failure
    virtual HRESULT STDMETHODCALLTYPE GetCustomUIMode(BSTR* file);
};

} // namespace vwin
