// The stand-in control: automation members, OLE object and in-place object faces.
#include <cwchar>
#include <string>

#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>
#include <olectl.h>

#include "standin.h"

namespace standin {

namespace {

// {7d1e4b60-2f3a-4c8e-9b1d-5a6c7e8f9002}
const IID standinDispatchId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x02}};

enum member : DISPID { level = 1, item = 2, combine = 3, versionInfo = 4, status = 5, broken = 6 };

VARIANT* direct(VARIANT* arg)
{
    return arg->vt == (VT_BYREF | VT_VARIANT) ? arg->pvarVal : arg;
}

// "type:value" of one argument as it arrived.
std::wstring describe(VARIANT* arg)
{
    VARIANT* v = direct(arg);
    std::wstring out = std::to_wstring(v->vt) + L":";
    VARIANT text;
    VariantInit(&text);
    if (SUCCEEDED(VariantChangeType(&text, v, 0, VT_BSTR)) && text.bstrVal)
        out += text.bstrVal;
    VariantClear(&text);
    return out;
}

// What the member leaves in an argument: texts get "+", numbers times ten.
void rewrite(VARIANT* arg)
{
    VARIANT* v = direct(arg);
    if (v->vt == VT_BSTR) {
        std::wstring changed = std::wstring(v->bstrVal ? v->bstrVal : L"") + L"+";
        VariantClear(v);
        v->vt = VT_BSTR;
        v->bstrVal = SysAllocString(changed.c_str());
    } else if (v->vt == VT_I4) {
        v->lVal *= 10;
    }
}

HRESULT putText(VARIANT* result, const std::wstring& text)
{
    if (result) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(text.c_str());
    }
    return S_OK;
}

class control final : public dispatchObject, public IOleObject, public IOleInPlaceObject {
public:
    control() : dispatchObject(standinDispatchId) { ++record().objects; }
    ~control() override
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
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == standinDispatchId)
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
        askForService(site);
        askAmbient(site);
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
    HRESULT invoke(DISPID id, WORD flags, std::vector<VARIANT*>& args, VARIANT* result) override
    {
        const bool get = flags & DISPATCH_PROPERTYGET;
        switch (id) {
        case member::level:
            if (flags & DISPATCH_PROPERTYPUT) {
                VARIANT value;
                VariantInit(&value);
                if (args.size() != 1 || FAILED(VariantChangeType(&value, direct(args[0]), 0, VT_I4)))
                    return DISP_E_TYPEMISMATCH;
                level_ = value.lVal;
                return S_OK;
            }
            if (!get)
                return DISP_E_MEMBERNOTFOUND;
            if (result) {
                result->vt = VT_I4;
                result->lVal = level_;
            }
            return S_OK;
        case member::item: {
            if (!get || args.size() != 1)
                return DISP_E_BADPARAMCOUNT;
            VARIANT index;
            VariantInit(&index);
            if (FAILED(VariantChangeType(&index, direct(args[0]), 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            return putText(result, L"item " + std::to_wstring(index.lVal));
        }
        case member::combine: {
            if (args.size() != 3)
                return DISP_E_BADPARAMCOUNT;
            std::wstring seen;
            for (VARIANT* arg : args) {
                seen += describe(arg) + L";";
                rewrite(arg);
            }
            return putText(result, seen);
        }
        case member::versionInfo:
            return get ? putText(result, L"12.0.7601.17514") : DISP_E_MEMBERNOTFOUND;
        case member::status:
            if (args.size() != 1 || direct(args[0])->vt != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            return tellStatus(direct(args[0])->bstrVal);
        case member::broken:
            return E_FAIL;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    void askForService(IOleClientSite* site)
    {
        auto& r = record();
        IServiceProvider* provider = nullptr;
        r.providerHr = site->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(&provider));
        if (FAILED(r.providerHr) || !provider)
            return;
        IUnknown* service = nullptr;
        r.serviceHr = provider->QueryService(standinServiceId, standinServiceId, reinterpret_cast<void**>(&service));
        r.serviceAnswered = service != nullptr;
        if (service)
            service->Release();
        provider->Release();
    }

    void askAmbient(IOleClientSite* site)
    {
        auto& r = record();
        IDispatch* ambient = nullptr;
        if (FAILED(site->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(&ambient))) || !ambient)
            return;
        VARIANT value;
        VariantInit(&value);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        if (SUCCEEDED(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value,
                                      nullptr, nullptr))) {
            r.ambientType = value.vt;
            r.ambientValue = value.vt == VT_BOOL ? value.boolVal : -99;
        }
        VariantClear(&value);
        ambient->Release();
    }

    HRESULT activateIn(IOleClientSite* site)
    {
        auto& r = record();
        IOleInPlaceSiteWindowless* inPlace = nullptr;
        if (FAILED(site->QueryInterface(__uuidof(IOleInPlaceSiteWindowless), reinterpret_cast<void**>(&inPlace))) ||
            !inPlace)
            return E_NOINTERFACE;
        r.canActivateHr = inPlace->CanInPlaceActivate();
        r.windowlessHr = inPlace->CanWindowlessActivate();
        r.activateHr = inPlace->OnInPlaceActivate();
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = reinterpret_cast<IOleInPlaceUIWindow*>(1);
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        info.hwndFrame = reinterpret_cast<HWND>(1);
        info.fMDIApp = TRUE;
        r.windowContextHr = inPlace->GetWindowContext(&frame, &document, &r.position, &r.clip, &info);
        r.frameGiven = frame != nullptr;
        r.uiWindowGiven = document != nullptr;
        r.mdi = info.fMDIApp;
        r.frameWindow = info.hwndFrame;
        if (frame)
            frame->Release();
        if (inPlaceSite_)
            inPlaceSite_->Release();
        inPlaceSite_ = inPlace;
        return S_OK;
    }

    // Tells the frame, as a control reports progress.
    HRESULT tellStatus(const wchar_t* text)
    {
        if (!inPlaceSite_)
            return E_UNEXPECTED;
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT position{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof info;
        const HRESULT hr = inPlaceSite_->GetWindowContext(&frame, &document, &position, &clip, &info);
        if (document)
            document->Release();
        if (FAILED(hr) || !frame)
            return E_FAIL;
        record().statusHr = frame->SetStatusText(text);
        frame->Release();
        return S_OK;
    }

    IOleClientSite* site_ = nullptr;
    IOleInPlaceSiteWindowless* inPlaceSite_ = nullptr;
    long level_ = 0;
};

} // namespace

IUnknown* makeControl()
{
    return static_cast<IDispatch*>(new control);
}

} // namespace standin
