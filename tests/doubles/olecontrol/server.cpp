// The in-process server: class factory, COM entry points and the tests' view of the record.
#include <atomic>

#include "standin.h"

namespace standin {

standinRecord& record()
{
    static standinRecord shared{};
    return shared;
}

namespace {

// Makes one kind of stand-in.
class factory final : public IClassFactory {
public:
    explicit factory(IUnknown* (*make)()) : make_(make) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IClassFactory))
            return E_NOINTERFACE;
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
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

private:
    IUnknown* (*make_)();
    std::atomic<ULONG> refs_{1};
};

} // namespace
} // namespace standin

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    IClassFactory* made = nullptr;
    if (IsEqualCLSID(clsid, standinControlId))
        made = new standin::factory(standin::makeControl);
    else if (IsEqualCLSID(clsid, standinPlayerId))
        made = new standin::factory(standin::makePlayer);
    else
        return CLASS_E_CLASSNOTAVAILABLE;
    const HRESULT hr = made->QueryInterface(iid, out);
    made->Release();
    return hr;
}

// Loaded by the test as well: never unloaded under it.
__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}

__declspec(dllexport) standinRecord* standinObserved()
{
    return &standin::record();
}

__declspec(dllexport) playerRecord* standinPlayer()
{
    return &standin::player();
}

__declspec(dllexport) void standinPlayerVersion(const wchar_t* version)
{
    standin::playerVersion() = version ? version : L"12.0.7601.17514";
}

__declspec(dllexport) void standinPlaylistAdd(const wchar_t* artist, const wchar_t* title, double duration)
{
    std::lock_guard<std::mutex> hold(standin::playlistLock());
    standin::playlist().push_back({artist ? artist : L"", title ? title : L"", duration});
}

// The window the connector takes for a running player; its owner thread must not end first.
__declspec(dllexport) bool standinSkinHost(bool shown)
{
    static HWND window = nullptr;
    static const bool registered = [] {
        WNDCLASSW skin{};
        skin.lpfnWndProc = DefWindowProcW;
        skin.hInstance = GetModuleHandleW(nullptr);
        skin.lpszClassName = L"WMP Skin Host";
        return RegisterClassW(&skin) != 0;
    }();
    if (!registered)
        return false;
    if (shown && !window)
        window = CreateWindowExW(0, L"WMP Skin Host", L"Stand-in player", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    else if (!shown && window && DestroyWindow(window))
        window = nullptr;
    return (window != nullptr) == shown;
}

// Forgets everything but the count of live controls.
__declspec(dllexport) void standinReset()
{
    const long objects = standin::record().objects;
    standin::record() = standinRecord{};
    standin::record().objects = objects;
    standin::player() = playerRecord{};
    standin::player().enabled = standin::player().windowlessVideo = standin::player().enableContextMenu = 99;
    standin::playerVersion() = L"12.0.7601.17514";
    std::lock_guard<std::mutex> hold(standin::playlistLock());
    standin::playlist().clear();
}

} // extern "C"
