// The in-process server: class factory, COM entry points and the tests' view of the record.
#include <atomic>

#include "standin.h"
#include "tests/doubles/classfactory.h"

namespace standin {

standinRecord& record()
{
    static standinRecord shared{};
    return shared;
}

} // namespace standin

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (IsEqualCLSID(clsid, standinControlId))
        return standin::classFactory::handOut(standin::makeControl, iid, out);
    if (IsEqualCLSID(clsid, standinPlayerId))
        return standin::classFactory::handOut(standin::makePlayer, iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
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
