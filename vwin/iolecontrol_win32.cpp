// The container's life: creating or attaching the control, verbs, interface lookup.
#include "vwin/iolecontrol.h"

namespace vwin {

namespace {

vcore::str titleFor(const vcore::str& clsidText)
{
    return vcore::str::formatted(u"iOleControl-%s", clsidText.data());
}

bool parseGuid(const char16_t* text, GUID& out)
{
    if (!text)
        return false;
    return SUCCEEDED(CLSIDFromString(reinterpret_cast<LPCOLESTR>(text), &out));
}

} // namespace

iOleControl::iOleControl(const vcore::str& clsidText)
    : vWidget(titleFor(clsidText), vWidget::flagDeferWindow), clsidText_(clsidText)
{
}

iOleControl::~iOleControl()
{
    // The control may call back into its site while it goes: release it while this is whole.
    site_.reset();
    releaseControl();
}

void iOleControl::releaseControl()
{
    inPlaceObject_.reset();
    oleObject_.reset();
    iDispatch::release();
    inPlaceActive_ = false;
}

HRESULT iOleControl::createInstance(const CLSID& clsid, DWORD context, const IID& iid, void** out)
{
    return CoCreateInstance(clsid, nullptr, context, iid, out);
}

bool iOleControl::create(const char16_t* clsidText, bool preferLocal, const char16_t* iidText)
{
    releaseControl();
    CLSID clsid{};
    if (!parseGuid(clsidText ? clsidText : clsidText_.data(), clsid))
        return false;
    IID iid = __uuidof(IDispatch);
    if (iidText && !parseGuid(iidText, iid))
        return false;
    setClsid(clsid);
    setIid(iid);
    CoInitializeEx(nullptr, 0);

    void* made = nullptr;
    HRESULT hr = createInstance(clsid, preferLocal ? contextLocal : contextAll, iid, &made);
    if (FAILED(hr) || !made) {
        made = nullptr;
        hr = createInstance(clsid, preferLocal ? contextInproc : contextAll, iid, &made);
    }
    if (FAILED(hr) || !made)
        return false;
    reset(static_cast<IDispatch*>(made));
    buildMembers();
    return hostCreated();
}

bool iOleControl::attach(IUnknown* control)
{
    releaseControl();
    if (!iDispatch::attach(control))
        return false;
    return hostCreated();
}

// The in-place faces of the held control, and this container as its client site.
bool iOleControl::hostCreated()
{
    IUnknown* control = get();
    if (!oleObject_.queryFrom(control) || !inPlaceObject_.queryFrom(control))
        return false;
    return SUCCEEDED(oleObject_->SetClientSite(static_cast<IOleClientSite*>(this)));
}

RECT iOleControl::area() const
{
    return RECT{0, 0, width(), height()};
}

bool iOleControl::doVerb(LONG verb)
{
    if (!oleObject_)
        return false;
    RECT rect = area();
    return SUCCEEDED(oleObject_->DoVerb(verb, nullptr, static_cast<IOleClientSite*>(this), 0, window(), &rect));
}

bool iOleControl::inPlaceActivate()
{
    return doVerb(OLEIVERB_INPLACEACTIVATE);
}

bool iOleControl::show(bool visible)
{
    return doVerb(visible ? OLEIVERB_SHOW : OLEIVERB_HIDE);
}

IUnknown* iOleControl::extraInterface(REFIID)
{
    return nullptr;
}

HRESULT STDMETHODCALLTYPE iOleControl::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IOleClientSite))
        *out = static_cast<IOleClientSite*>(this);
    else if (iid == __uuidof(IOleInPlaceSite) || iid == __uuidof(IOleInPlaceSiteEx) ||
             iid == __uuidof(IOleInPlaceSiteWindowless) || iid == __uuidof(IOleWindow))
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == __uuidof(IOleInPlaceUIWindow) || iid == __uuidof(IOleInPlaceFrame))
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (iid == __uuidof(IOleCommandTarget))
        *out = static_cast<IOleCommandTarget*>(this);
    else if (iid == __uuidof(IServiceProvider))
        *out = static_cast<IServiceProvider*>(this);
    else if (iid == __uuidof(IDispatch))
        *out = static_cast<vDispatch*>(this);
    else if (iid == __uuidof(IObjectWithSite))
        *out = static_cast<IObjectWithSite*>(this);
    else if (IUnknown* extra = extraInterface(iid)) {
        extra->AddRef();
        *out = extra;
    }
    return *out ? S_OK : E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE iOleControl::QueryService(REFGUID, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    IUnknown* extra = extraInterface(iid);
    if (!extra)
        return E_NOINTERFACE;
    extra->AddRef();
    *out = extra;
    return S_OK;
}

} // namespace vwin
