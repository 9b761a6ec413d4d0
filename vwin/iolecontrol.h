#pragma once
#include <cstdint>

#include <windows.h>
#include <docobj.h>
#include <ocidl.h>
#include <oleidl.h>
#include <servprov.h>

#include "vcore/str.h"
#include "vwin/com.h"
#include "vwin/idispatch.h"
#include "vwin/vdispatch.h"
#include "vwin/vwidget.h"

namespace vwin {

// A windowless OLE container for one ActiveX control: creates it by CLSID, activates it in
// place, answers its questions to the site, and (as an iDispatch) drives its automation.
// AddRef and Release answer 1 on every face: the owner decides the lifetime. SetStatusText
// raises "status" with a vcore::str*. Belongs to the thread that made it. Windows only.
class iOleControl : public vWidget,
                    public IOleClientSite,
                    public IOleInPlaceSiteWindowless,
                    public IOleInPlaceFrame,
                    public IOleCommandTarget,
                    public IObjectWithSite,
                    public IServiceProvider,
                    public vDispatch,
                    public iDispatch {
public:
    static constexpr DWORD contextLocal = CLSCTX_LOCAL_SERVER | CLSCTX_DISABLE_AAA;   // 0x8004
    static constexpr DWORD contextInproc = CLSCTX_INPROC_SERVER | CLSCTX_DISABLE_AAA; // 0x8001
    static constexpr DWORD contextAll = CLSCTX_ALL;                                    // 0x17

    explicit iOleControl(const vcore::str& clsidText);
    ~iOleControl() override;

    // Another interface of the host for iid, not yet counted (the asker adds the reference);
    // null when there is none. Asked by QueryInterface and QueryService.
    virtual IUnknown* extraInterface(REFIID iid);
    // clsidText null: the one given at construction; iidText null: IDispatch.
    virtual bool create(const char16_t* clsidText, bool preferLocal, const char16_t* iidText);
    // Hosts a control made elsewhere.
    virtual bool attach(IUnknown* control);
    virtual bool inPlaceActivate();
    virtual bool show(bool visible);

    const vcore::str& clsidText() const { return clsidText_; }
    bool inPlaceActive() const { return inPlaceActive_; }
    bool windowlessAllowed() const { return windowlessAllowed_; }
    void setWindowlessAllowed(bool allowed) { windowlessAllowed_ = allowed; }
    IOleObject* oleObject() const { return oleObject_.get(); }
    IOleInPlaceObject* inPlaceObject() const { return inPlaceObject_.get(); }
    IUnknown* site() const { return site_.get(); }

    // IUnknown, shared by every face.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(WINBOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IOleWindow (site and frame alike)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL enter) override;

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override;
    HRESULT STDMETHODCALLTYPE OnUIActivate() override;
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    HRESULT STDMETHODCALLTYPE Scroll(SIZE extent) override;
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(WINBOOL undoable) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override;
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override;
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT position) override;

    // IOleInPlaceSiteEx
    HRESULT STDMETHODCALLTYPE OnInPlaceActivateEx(WINBOOL* noRedraw, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivateEx(WINBOOL noRedraw) override;
    HRESULT STDMETHODCALLTYPE RequestUIActivate() override;

    // IOleInPlaceSiteWindowless
    HRESULT STDMETHODCALLTYPE CanWindowlessActivate() override;
    HRESULT STDMETHODCALLTYPE GetCapture() override;
    HRESULT STDMETHODCALLTYPE SetCapture(WINBOOL capture) override;
    HRESULT STDMETHODCALLTYPE GetFocus() override;
    HRESULT STDMETHODCALLTYPE SetFocus(WINBOOL focus) override;
    HRESULT STDMETHODCALLTYPE GetDC(LPCRECT rect, DWORD flags, HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE InvalidateRect(LPCRECT rect, WINBOOL erase) override;
    HRESULT STDMETHODCALLTYPE InvalidateRgn(HRGN region, WINBOOL erase) override;
    HRESULT STDMETHODCALLTYPE ScrollRect(INT dx, INT dy, LPCRECT scroll, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE AdjustRect(LPRECT rect) override;
    HRESULT STDMETHODCALLTYPE OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                 LRESULT* result) override;

    // IOleInPlaceUIWindow, IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT border) override;
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU shared, HOLEMENU oleMenu, HWND activeObject) override;
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override;
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR text) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL enable) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message, WORD id) override;

    // IOleCommandTarget
    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* group, ULONG count, OLECMD commands[],
                                          OLECMDTEXT* text) override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) override;

    // IObjectWithSite
    HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
    HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** site) override;

    // IServiceProvider
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override;

protected:
    // One CoCreateInstance attempt of the create sequence.
    virtual HRESULT createInstance(const CLSID& clsid, DWORD context, const IID& iid, void** out);

private:
    void releaseControl();
    bool hostCreated();
    bool doVerb(LONG verb);
    RECT area() const;

    com_<IOleObject> oleObject_;
    com_<IOleInPlaceObject> inPlaceObject_;
    com_<IUnknown> site_;
    vcore::str clsidText_;
    bool windowlessAllowed_ = true;
    bool inPlaceActive_ = false;
};

} // namespace vwin
