// The container's answers to a hosted control: seen by the stand-in, and asked directly.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include <olectl.h>

#include "standin.h"
#include "vwin/iolecontrol.h"

namespace {

// A service of the host's own, handed out through the extra-interface hook.
class countedService : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    std::atomic<ULONG> refs{1};
};

class hookedControl : public vwin::iOleControl {
public:
    using vwin::iOleControl::iOleControl;
    countedService service;

    IUnknown* extraInterface(REFIID iid) override
    {
        return iid == standinServiceId ? &service : nullptr;
    }
};

class statusListener : public vcore::vObject {
public:
    std::vector<vcore::str> texts;
    void onStatus(void* text) { texts.push_back(*static_cast<vcore::str*>(text)); }
};

class SiteSeenByTheControl : public StandinTest {};

TEST_F(SiteSeenByTheControl, ServiceProviderAsksTheHookAndAmbientsReadTrue)
{
    {
        vwin::iOleControl plain(clsidText);
        ASSERT_TRUE(plain.create(nullptr, false, nullptr));
        EXPECT_EQ(seen().providerHr, S_OK);
        EXPECT_EQ(seen().serviceHr, E_NOINTERFACE);
        EXPECT_FALSE(seen().serviceAnswered);
        EXPECT_EQ(seen().ambientType, VT_BOOL);
        EXPECT_EQ(seen().ambientValue, 1);
    }
    hookedControl hooked(clsidText);
    ASSERT_TRUE(hooked.create(nullptr, false, nullptr));
    EXPECT_EQ(seen().serviceHr, S_OK);
    EXPECT_TRUE(seen().serviceAnswered);
    EXPECT_EQ(hooked.service.refs, 1u) << "the control's reference was counted and given back";
}

TEST_F(SiteSeenByTheControl, InPlaceActivationIsReportedThroughTheSite)
{
    vwin::iOleControl control(clsidText);
    control.resize(320, 240);
    ASSERT_TRUE(control.create(nullptr, false, nullptr));
    EXPECT_FALSE(control.inPlaceActive());
    ASSERT_TRUE(control.inPlaceActivate());
    EXPECT_EQ(seen().lastVerb, OLEIVERB_INPLACEACTIVATE);
    EXPECT_EQ(seen().canActivateHr, S_OK);
    EXPECT_EQ(seen().activateHr, S_OK);
    EXPECT_TRUE(control.inPlaceActive());
    EXPECT_EQ(seen().windowlessHr, S_OK);
    EXPECT_EQ(seen().windowContextHr, S_OK);
    EXPECT_TRUE(seen().frameGiven);
    EXPECT_FALSE(seen().uiWindowGiven);
    EXPECT_EQ(seen().position.right, 320);
    EXPECT_EQ(seen().position.bottom, 240);
    EXPECT_EQ(seen().clip.right, 320);
    EXPECT_EQ(seen().clip.left, 0);
    EXPECT_FALSE(seen().mdi);
    EXPECT_EQ(seen().frameWindow, nullptr);

    control.inPlaceObject()->InPlaceDeactivate();
    EXPECT_FALSE(control.inPlaceActive());
}

TEST_F(SiteSeenByTheControl, WindowlessActivationFollowsTheFlag)
{
    vwin::iOleControl control(clsidText);
    ASSERT_TRUE(control.create(nullptr, false, nullptr));
    control.setWindowlessAllowed(false);
    ASSERT_TRUE(control.inPlaceActivate());
    EXPECT_EQ(seen().windowlessHr, S_FALSE);
}

TEST_F(SiteSeenByTheControl, ShowAndHideAreVerbsOnTheControl)
{
    vwin::iOleControl control(clsidText);
    ASSERT_TRUE(control.create(nullptr, false, nullptr));
    ASSERT_TRUE(control.show(true));
    EXPECT_EQ(seen().lastVerb, OLEIVERB_SHOW);
    EXPECT_EQ(seen().showHr, S_OK);
    ASSERT_TRUE(control.show(false));
    EXPECT_EQ(seen().lastVerb, OLEIVERB_HIDE);
    EXPECT_EQ(seen().verbs, 2);
}

TEST_F(SiteSeenByTheControl, StatusTextFromTheFrameRaisesStatus)
{
    vwin::iOleControl control(clsidText);
    statusListener listener;
    control.addHandler(u"status", &listener, &statusListener::onStatus);
    ASSERT_TRUE(control.create(nullptr, false, nullptr));
    ASSERT_TRUE(control.inPlaceActivate());
    vwin::variant text = vwin::variant::text(u"Buffering 40%");
    ASSERT_TRUE(control.call(u"status", nullptr, &text, 1));
    EXPECT_EQ(seen().statusHr, S_OK);
    ASSERT_EQ(listener.texts.size(), 1u);
    EXPECT_EQ(narrow(listener.texts[0]), "Buffering 40%");
}

// The faces asked directly, as any control may.
class SiteFaces : public ::testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }

    template <class I>
    I* face()
    {
        void* out = nullptr;
        EXPECT_EQ(unknown()->QueryInterface(__uuidof(I), &out), S_OK);
        return static_cast<I*>(out);
    }
    IUnknown* unknown() { return static_cast<IOleClientSite*>(&control); }

    hookedControl control{vcore::str(u"{7D1E4B60-2F3A-4C8E-9B1D-5A6C7E8F9003}")};
};

TEST_F(SiteFaces, EveryListedInterfaceAnswersWithOneIdentityAndCountsNothing)
{
    const IID listed[] = {__uuidof(IUnknown), __uuidof(IOleClientSite), __uuidof(IOleInPlaceSite),
                          __uuidof(IOleInPlaceSiteEx), __uuidof(IOleInPlaceSiteWindowless), __uuidof(IOleWindow),
                          __uuidof(IOleInPlaceUIWindow), __uuidof(IOleInPlaceFrame), __uuidof(IOleCommandTarget),
                          __uuidof(IServiceProvider), __uuidof(IDispatch), __uuidof(IObjectWithSite)};
    for (const IID& iid : listed) {
        IUnknown* answer = nullptr;
        ASSERT_EQ(unknown()->QueryInterface(iid, reinterpret_cast<void**>(&answer)), S_OK);
        IUnknown* identity = nullptr;
        ASSERT_EQ(answer->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity)), S_OK);
        EXPECT_EQ(identity, unknown());
        EXPECT_EQ(answer->AddRef(), 1u);
        EXPECT_EQ(answer->Release(), 1u);
    }
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(unknown()->QueryInterface(__uuidof(IOleObject), &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    void* extra = nullptr;
    EXPECT_EQ(unknown()->QueryInterface(standinServiceId, &extra), S_OK);
    EXPECT_EQ(extra, &control.service);
    control.service.Release();
}

TEST_F(SiteFaces, ClientSiteAndWindowAnswers)
{
    IOleClientSite* site = face<IOleClientSite>();
    IMoniker* moniker = nullptr;
    IOleContainer* container = nullptr;
    EXPECT_EQ(site->SaveObject(), E_NOTIMPL);
    EXPECT_EQ(site->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_OBJFULL, &moniker), E_NOTIMPL);
    EXPECT_EQ(site->GetContainer(&container), E_NOTIMPL);
    EXPECT_EQ(site->ShowObject(), S_OK);
    EXPECT_EQ(site->OnShowWindow(TRUE), S_OK);
    EXPECT_EQ(site->RequestNewObjectLayout(), S_OK);

    IOleWindow* windows[] = {face<IOleWindow>(), face<IOleInPlaceFrame>(), face<IOleInPlaceUIWindow>()};
    for (IOleWindow* w : windows) {
        HWND handle = reinterpret_cast<HWND>(1);
        EXPECT_EQ(w->GetWindow(&handle), S_OK);
        EXPECT_EQ(handle, nullptr) << "the container has no window";
        EXPECT_EQ(w->GetWindow(nullptr), E_INVALIDARG);
        EXPECT_EQ(w->ContextSensitiveHelp(TRUE), S_FALSE);
    }
}

TEST_F(SiteFaces, InPlaceSiteAnswers)
{
    IOleInPlaceSiteWindowless* site = face<IOleInPlaceSiteWindowless>();
    EXPECT_EQ(site->CanInPlaceActivate(), S_OK);
    EXPECT_EQ(site->OnUIActivate(), S_OK);
    EXPECT_TRUE(control.inPlaceActive());
    EXPECT_EQ(site->OnUIDeactivate(FALSE), S_OK);
    EXPECT_FALSE(control.inPlaceActive());
    EXPECT_EQ(site->OnInPlaceActivate(), S_OK);
    EXPECT_TRUE(control.inPlaceActive());
    EXPECT_EQ(site->OnInPlaceDeactivate(), S_OK);
    EXPECT_FALSE(control.inPlaceActive());
    EXPECT_EQ(site->Scroll(SIZE{1, 1}), S_FALSE);
    EXPECT_EQ(site->DiscardUndoState(), S_OK);
    EXPECT_EQ(site->DeactivateAndUndo(), S_OK);
    RECT rect{0, 0, 1, 1};
    EXPECT_EQ(site->OnPosRectChange(&rect), S_OK);
    BOOL noRedraw = FALSE;
    EXPECT_EQ(site->OnInPlaceActivateEx(&noRedraw, 0), S_OK);
    EXPECT_EQ(site->OnInPlaceDeactivateEx(TRUE), S_OK);
    EXPECT_EQ(site->RequestUIActivate(), S_OK);
}

TEST_F(SiteFaces, WindowlessSiteAnswers)
{
    IOleInPlaceSiteWindowless* site = face<IOleInPlaceSiteWindowless>();
    EXPECT_EQ(site->CanWindowlessActivate(), S_OK);
    control.setWindowlessAllowed(false);
    EXPECT_EQ(site->CanWindowlessActivate(), S_FALSE);
    EXPECT_EQ(site->GetCapture(), S_FALSE);
    EXPECT_EQ(site->SetCapture(TRUE), S_FALSE);
    EXPECT_EQ(site->GetFocus(), S_FALSE) << "no window, so never the focus";
    EXPECT_EQ(site->SetFocus(TRUE), S_OK);
    HDC dc = nullptr;
    EXPECT_EQ(site->GetDC(nullptr, 0, &dc), S_OK);
    EXPECT_EQ(site->ReleaseDC(dc), S_OK);
    RECT rect{0, 0, 5, 5};
    EXPECT_EQ(site->InvalidateRect(&rect, TRUE), S_OK);
    EXPECT_EQ(site->InvalidateRgn(nullptr, TRUE), S_OK);
    EXPECT_EQ(site->ScrollRect(1, 1, &rect, &rect), S_OK);
    EXPECT_EQ(site->AdjustRect(&rect), S_OK);
    LRESULT result = 0;
    EXPECT_EQ(site->OnDefWindowMessage(WM_NULL, 0, 0, &result), S_OK);
}

TEST_F(SiteFaces, FrameAnswers)
{
    IOleInPlaceFrame* frame = face<IOleInPlaceFrame>();
    RECT border{};
    BORDERWIDTHS widths{};
    EXPECT_EQ(frame->GetBorder(&border), S_FALSE);
    EXPECT_EQ(frame->RequestBorderSpace(&widths), S_OK);
    EXPECT_EQ(frame->SetBorderSpace(&widths), S_OK);
    EXPECT_EQ(frame->SetActiveObject(nullptr, nullptr), E_NOTIMPL);
    OLEMENUGROUPWIDTHS menuWidths{};
    EXPECT_EQ(frame->InsertMenus(nullptr, &menuWidths), E_NOTIMPL);
    EXPECT_EQ(frame->SetMenu(nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(frame->RemoveMenus(nullptr), E_NOTIMPL);
    EXPECT_EQ(frame->EnableModeless(TRUE), S_OK);
    MSG message{};
    EXPECT_EQ(frame->TranslateAccelerator(&message, 0), S_OK);

    statusListener listener;
    control.addHandler(u"status", &listener, &statusListener::onStatus);
    EXPECT_EQ(frame->SetStatusText(L"Ready"), S_OK);
    EXPECT_EQ(frame->SetStatusText(nullptr), S_OK);
    ASSERT_EQ(listener.texts.size(), 2u);
    EXPECT_EQ(narrow(listener.texts[0]), "Ready");
    EXPECT_TRUE(listener.texts[1].empty());
}

TEST_F(SiteFaces, CommandTargetSiteAndServiceAnswers)
{
    IOleCommandTarget* target = face<IOleCommandTarget>();
    OLECMD command{};
    EXPECT_EQ(target->QueryStatus(nullptr, 1, &command, nullptr), E_FAIL);
    EXPECT_EQ(target->Exec(nullptr, 1, 0, nullptr, nullptr), E_FAIL);

    IObjectWithSite* withSite = face<IObjectWithSite>();
    void* kept = reinterpret_cast<void*>(1);
    EXPECT_EQ(withSite->GetSite(__uuidof(IUnknown), &kept), E_FAIL);
    EXPECT_EQ(kept, nullptr);
    countedService outer;
    EXPECT_EQ(withSite->SetSite(&outer), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    EXPECT_EQ(withSite->GetSite(__uuidof(IOleWindow), &kept), S_OK) << "whatever IID was asked for";
    EXPECT_EQ(kept, &outer);
    outer.Release();
    EXPECT_EQ(withSite->SetSite(nullptr), S_OK);
    EXPECT_EQ(outer.refs, 1u);

    IServiceProvider* provider = face<IServiceProvider>();
    void* service = nullptr;
    EXPECT_EQ(provider->QueryService(standinServiceId, standinServiceId, &service), S_OK);
    EXPECT_EQ(service, &control.service);
    control.service.Release();
    EXPECT_EQ(provider->QueryService(standinServiceId, __uuidof(IOleObject), &service), E_NOINTERFACE);
    EXPECT_EQ(service, nullptr);
}

TEST_F(SiteFaces, AmbientPropertiesAreAllTrueWithoutTypeInformation)
{
    IDispatch* ambient = face<IDispatch>();
    UINT count = 9;
    EXPECT_EQ(ambient->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(ambient->GetTypeInfo(0, 0, &info), E_INVALIDARG);
    LPOLESTR name = const_cast<LPOLESTR>(L"UserMode");
    DISPID id = 0;
    EXPECT_EQ(ambient->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), E_INVALIDARG);
    for (DISPID ambientId : {DISPID(DISPID_AMBIENT_USERMODE), DISPID(DISPID_AMBIENT_MESSAGEREFLECT), DISPID(12345)}) {
        VARIANT value;
        VariantInit(&value);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        EXPECT_EQ(ambient->Invoke(ambientId, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr),
                  S_OK);
        EXPECT_EQ(value.vt, VT_BOOL);
        EXPECT_EQ(value.boolVal, 1);
    }
}

} // namespace
