#pragma once
#include <windows.h>
#include <unknwn.h>

#include "tests/doubles/refcounted.h"

// A stand-in COM server's class factory: makes one kind of object, without aggregation.
namespace standin {

class classFactory final : public refCounted<IClassFactory> {
public:
    using maker = IUnknown* (*)();
    explicit classFactory(maker make) : make_(make) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory))
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IUnknown* made = make_();
        const HRESULT hr = made->QueryInterface(iid, out);
        made->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    // DllGetClassObject's answer: a new factory's iid, which the caller then owns.
    static HRESULT handOut(maker make, REFIID iid, void** out)
    {
        IClassFactory* made = new classFactory(make);
        const HRESULT hr = made->QueryInterface(iid, out);
        made->Release();
        return hr;
    }

private:
    maker make_;
};

} // namespace standin
