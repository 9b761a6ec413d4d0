// The container tests' stand-in control: its automation members and what it asks its site.
#include <cwchar>
#include <string>

#include <olectl.h>
#include <servprov.h>

#include "olebase.h"

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

class control final : public oleControl {
public:
    control() : oleControl(standinDispatchId) {}

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
    void siteGiven(IOleClientSite* site) override
    {
        askForService(site);
        askAmbient(site);
    }

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

    long level_ = 0;
};

} // namespace

IUnknown* makeControl()
{
    return static_cast<IDispatch*>(new control);
}

} // namespace standin
