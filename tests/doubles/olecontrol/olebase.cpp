// In-place activation and status reports of the stand-in controls.
#include "olebase.h"

namespace standin {

HRESULT oleControl::activateIn(IOleClientSite* site)
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

HRESULT oleControl::tellStatus(const wchar_t* text)
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

} // namespace standin
