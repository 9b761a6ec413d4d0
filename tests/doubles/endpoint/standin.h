#pragma once
#include <atomic>

#include <windows.h>

#include "tests/doubles/refcounted.h"

// A stand-in Core Audio endpoint: one render device whose master volume lives in this library.
namespace standin {

struct endpointState {
    std::atomic<float> level{0.5f};
    std::atomic<long> sets{0};
    // False: no default device, as on a PC without an audio output.
    std::atomic<bool> present{true};
};

endpointState& state();

// Reference counting and QueryInterface for one interface I.
template <class I>
class comObject : public refCounted<I> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(I))) {
            *out = static_cast<I*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
};

IUnknown* makeEnumerator();

} // namespace standin
