#pragma once
#include <ocidl.h>
#include <oleidl.h>

#include "standin.h"

namespace standin {

// The OLE faces every stand-in control shares: object, in-place object, verbs, and a record of
// the site's answers during in-place activation.
class oleControl : public dispatchObject, public IOleObject, public IOleInPlaceObject {
public:
    explicit oleControl(REFIID dispinterface) : dispatchObject(dispinterface), dispinterface_(dispinterface)
    {
        ++record().objects;
    }
    ~oleControl() override
    {
        if (site_)
            site_->Release();
        if (inPlaceSite_)
            inPlaceSite_->Release();
        --record().objects;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == dispinterface_)
            *out = static_cast<IDispatch*>(this);
        else if (iid == __uuidof(IOleObject))
            *out = static_cast<IOleObject*>(this);
        else if (iid == __uuidof(IOleInPlaceObject) || iid == __uuidof(IOleWindow))
            *out = static_cast<IOleInPlaceObject*>(this);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return dispatchObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return dispatchObject::Release(); }

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override
    {
        auto& r = record();
        ++r.setClientSiteCalls;
        if (site_)
            site_->Release();
        site_ = site;
        r.siteGiven = site != nullptr;
        if (!site)
            return S_OK;
        site->AddRef();
        siteGiven(site);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override
    {
        if (!site)
            return E_POINTER;
        *site = site_;
        if (site_)
            site_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override
    {
        ++record().closeCalls;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, WINBOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override
    {
        auto& r = record();
        r.lastVerb = verb;
        ++r.verbs;
        if (!site)
            return E_INVALIDARG;
        if (verb == OLEIVERB_INPLACEACTIVATE)
            return activateIn(site);
        if (verb == OLEIVERB_SHOW || verb == OLEIVERB_HIDE) {
            r.showHr = verb == OLEIVERB_SHOW ? site->ShowObject() : site->OnShowWindow(FALSE);
            return S_OK;
        }
        return OLEOBJ_E_NOVERBS;
    }
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override
    {
        if (!id)
            return E_POINTER;
        *id = standinControlId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override
    {
        if (!status)
            return E_POINTER;
        *status = OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (window)
            *window = nullptr;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override
    {
        if (!inPlaceSite_)
            return S_OK;
        inPlaceSite_->OnInPlaceDeactivate();
        inPlaceSite_->Release();
        inPlaceSite_ = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

protected:
    // The container just became the client site.
    virtual void siteGiven(IOleClientSite* site) {}
    // Tells the frame, as a control reports progress.
    HRESULT tellStatus(const wchar_t* text);

private:
    HRESULT activateIn(IOleClientSite* site);

    IID dispinterface_;
    IOleClientSite* site_ = nullptr;
    IOleInPlaceSiteWindowless* inPlaceSite_ = nullptr;
};

} // namespace standin
