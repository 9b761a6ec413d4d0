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

// What the stand-in media player saw of its container and was told.
struct playerRecord {
    HRESULT serviceHr;          // QueryService for the remote media services
    wchar_t serviceType[32];    // what GetServiceType answered
    bool remote;                // attached: the service type was "Remote"
    HRESULT applicationNameHr;
    bool applicationNameNull;
    HRESULT scriptableHr;
    bool scriptableNull;        // name and object both null
    HRESULT customUiHr;
    bool customUiNull;
    short enabled;              // VARIANT_BOOL put, 99 before any put
    short windowlessVideo;
    short enableContextMenu;
    wchar_t uiMode[16];
    long volume;
    long plays;
    // The player's state, changed by the connector and by the tests alike.
    long playState;             // 3 playing, 2 paused, 1 stopped, 0 undefined
    double position;            // seconds
    long current;               // index of the current item
    bool shuffle;
    bool loop;
    long pauses, stops, nexts, previouses, itemPuts;
    bool countOverridden;       // count answers countOverride instead of the list's length
    long countOverride;
    bool failing;               // every automation call answers E_FAIL
    long stallMs;               // every automation call first waits this long
};

// The media player control's class id, under which the stand-in player is registered.
static const CLSID standinPlayerId = {0x6bf52a52, 0x394a, 0x11d3, {0xb1, 0x53, 0x00, 0xc0, 0x4f, 0x79, 0xfa, 0xa6}};

typedef standinRecord* (*standinObservedProc)();
typedef playerRecord* (*standinPlayerProc)();
// The version text the player reports; null restores "12.0.7601.17514".
typedef void (*standinPlayerVersionProc)(const wchar_t* version);
typedef void (*standinResetProc)();
// One more playlist entry; null artist or title is empty.
typedef void (*standinPlaylistAddProc)(const wchar_t* artist, const wchar_t* title, double duration);
// Makes (true) or destroys (false) a top-level "WMP Skin Host" window on the calling thread.
typedef bool (*standinSkinHostProc)(bool shown);
