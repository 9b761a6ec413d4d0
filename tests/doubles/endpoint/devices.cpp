// The enumerator and its one device: the default render device for the console role only.
#include <mmdeviceapi.h>
#include <endpointvolume.h>

#include "standin.h"

namespace standin {

IUnknown* makeEndpointVolume();

namespace {

const HRESULT notFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

class device : public comObject<IMMDevice> {
public:
    HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD, PROPVARIANT*, void** out) override
    {
        if (!out)
            return E_POINTER;
        IUnknown* volume = makeEndpointVolume();
        const HRESULT hr = volume->QueryInterface(iid, out);
        volume->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetId(LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD* now) override
    {
        if (!now)
            return E_POINTER;
        *now = DEVICE_STATE_ACTIVE;
        return S_OK;
    }
};

class enumerator : public comObject<IMMDeviceEnumerator> {
public:
    HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow flow, ERole role, IMMDevice** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!state().present || flow != eRender || role != eConsole)
            return notFound;
        *out = new device;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient*) override { return E_NOTIMPL; }
};

} // namespace

IUnknown* makeEnumerator()
{
    return new enumerator;
}

} // namespace standin
