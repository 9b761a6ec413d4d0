#pragma once
#include <windows.h>
#include <oaidl.h>

// What the stand-in control saw of its container, read by the tests through standinObserved().
struct standinRecord {
    long objects;           // stand-in controls alive
    long closeCalls;        // IOleObject::Close
    long setClientSiteCalls;
    bool siteGiven;         // the last SetClientSite had a site
    HRESULT providerHr;     // site's QueryInterface for IServiceProvider
    HRESULT serviceHr;      // QueryService for standinServiceId
    bool serviceAnswered;
    VARTYPE ambientType;    // the site's IDispatch, Invoke for an ambient property
    long ambientValue;
    LONG lastVerb;
    long verbs;
    HRESULT canActivateHr;  // during verb -5: the in-place site's answers
    HRESULT activateHr;
    HRESULT windowContextHr;
    bool frameGiven;
    bool uiWindowGiven;
    RECT position;
    RECT clip;
    BOOL mdi;
    HWND frameWindow;
    HRESULT windowlessHr;
    HRESULT statusHr;       // SetStatusText on the frame, from the "status" method
    HRESULT showHr;         // verbs -1 and -3: ShowObject / OnShowWindow
};

// {7d1e4b60-2f3a-4c8e-9b1d-5a6c7e8f9003}
static const CLSID standinControlId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x03}};
// A service the stand-in asks its site for; {7d1e4b60-2f3a-4c8e-9b1d-5a6c7e8f9010}
static const IID standinServiceId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x10}};

typedef standinRecord* (*standinObservedProc)();
typedef void (*standinResetProc)();
