// The container's answers to the hosted control's questions to its site and frame.
#include "vwin/iolecontrol.h"

namespace vwin {

// IOleClientSite
HRESULT STDMETHODCALLTYPE iOleControl::SaveObject() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE iOleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE iOleControl::GetContainer(IOleContainer** container)
{
    if (container)
        *container = nullptr;
    return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE iOleControl::ShowObject() { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::OnShowWindow(WINBOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::RequestNewObjectLayout() { return S_OK; }

// IOleWindow
HRESULT STDMETHODCALLTYPE iOleControl::GetWindow(HWND* handle)
{
    if (!handle)
        return E_INVALIDARG;
    *handle = window();
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::ContextSensitiveHelp(WINBOOL) { return S_FALSE; }

// IOleInPlaceSite
HRESULT STDMETHODCALLTYPE iOleControl::CanInPlaceActivate() { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::OnInPlaceActivate()
{
    inPlaceActive_ = true;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::OnUIActivate()
{
    inPlaceActive_ = true;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                                        LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (frame)
        *frame = static_cast<IOleInPlaceFrame*>(this);
    if (document)
        *document = nullptr;
    const RECT rect = area();
    if (position)
        *position = rect;
    if (clip)
        *clip = rect;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = window();
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::Scroll(SIZE) { return S_FALSE; }
HRESULT STDMETHODCALLTYPE iOleControl::OnUIDeactivate(WINBOOL)
{
    inPlaceActive_ = false;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::OnInPlaceDeactivate()
{
    inPlaceActive_ = false;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::DiscardUndoState() { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::DeactivateAndUndo() { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::OnPosRectChange(LPCRECT) { return S_OK; }

// IOleInPlaceSiteEx
HRESULT STDMETHODCALLTYPE iOleControl::OnInPlaceActivateEx(WINBOOL*, DWORD) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::OnInPlaceDeactivateEx(WINBOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::RequestUIActivate() { return S_OK; }

// IOleInPlaceSiteWindowless
HRESULT STDMETHODCALLTYPE iOleControl::CanWindowlessActivate() { return windowlessAllowed_ ? S_OK : S_FALSE; }
HRESULT STDMETHODCALLTYPE iOleControl::GetCapture() { return S_FALSE; }
HRESULT STDMETHODCALLTYPE iOleControl::SetCapture(WINBOOL) { return S_FALSE; }
HRESULT STDMETHODCALLTYPE iOleControl::GetFocus()
{
    // Without a window nothing of ours can hold the focus, even when no window has it.
    return window() && ::GetFocus() == window() ? S_OK : S_FALSE;
}
HRESULT STDMETHODCALLTYPE iOleControl::SetFocus(WINBOOL focus)
{
    if (focus && window())
        ::SetFocus(window());
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::GetDC(LPCRECT, DWORD, HDC* dc)
{
    if (!dc)
        return E_POINTER;
    *dc = ::GetDC(window());
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::ReleaseDC(HDC dc)
{
    ::ReleaseDC(window(), dc);
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::InvalidateRect(LPCRECT, WINBOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::InvalidateRgn(HRGN, WINBOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::ScrollRect(INT, INT, LPCRECT, LPCRECT) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::AdjustRect(LPRECT) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) { return S_OK; }

// IOleInPlaceUIWindow, IOleInPlaceFrame
HRESULT STDMETHODCALLTYPE iOleControl::GetBorder(LPRECT) { return S_FALSE; }
HRESULT STDMETHODCALLTYPE iOleControl::RequestBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE iOleControl::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE iOleControl::SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE iOleControl::RemoveMenus(HMENU) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE iOleControl::SetStatusText(LPCOLESTR text)
{
    vcore::str status(text ? reinterpret_cast<const char16_t*>(text) : u"");
    emitEvent(u"status", &status);
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::EnableModeless(WINBOOL) { return S_OK; }
HRESULT STDMETHODCALLTYPE iOleControl::TranslateAccelerator(LPMSG, WORD) { return S_OK; }

// IOleCommandTarget
HRESULT STDMETHODCALLTYPE iOleControl::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*) { return E_FAIL; }
HRESULT STDMETHODCALLTYPE iOleControl::Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) { return E_FAIL; }

// IObjectWithSite
HRESULT STDMETHODCALLTYPE iOleControl::SetSite(IUnknown* site)
{
    if (site)
        site->AddRef();
    site_.reset(site);
    return S_OK;
}
HRESULT STDMETHODCALLTYPE iOleControl::GetSite(REFIID, void** out)
{
    if (!out)
        return E_POINTER;
    *out = site_.get();
    if (!site_)
        return E_FAIL;
    site_->AddRef();
    return S_OK;
}

} // namespace vwin
