// The stand-in media player control: asks its site for the remote media services and attaches
// only in remote mode; a small object model whose state the tests read from the record.
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <mutex>
#include <string>
#include <vector>

#include <servprov.h>

#include "olebase.h"

namespace standin {

playerRecord& player()
{
    static playerRecord shared = [] {
        playerRecord r{};
        r.enabled = r.windowlessVideo = r.enableContextMenu = 99;
        return r;
    }();
    return shared;
}

std::wstring& playerVersion()
{
    static std::wstring version = L"12.0.7601.17514";
    return version;
}

std::mutex& playlistLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<playlistEntry>& playlist()
{
    static std::vector<playlistEntry> entries;
    return entries;
}

// The site's interface for remote mode, laid out as the player expects it. Outside the
// anonymous namespace: GCC 12 otherwise takes the never-made class for uninitialised.
struct remoteMediaServices : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetServiceType(BSTR* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetApplicationName(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScriptableObject(BSTR* name, IDispatch** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCustomUIMode(BSTR* file) = 0;
};

namespace {

// {CBB92747-741F-44FE-AB5B-F1A48F3B2A59}
const IID remoteMediaServicesId = {0xcbb92747, 0x741f, 0x44fe, {0xab, 0x5b, 0xf1, 0xa4, 0x8f, 0x3b, 0x2a, 0x59}};

const IID playerId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x20}};
const IID controlsId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x21}};
const IID settingsId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x22}};
const IID errorId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x23}};
const IID playlistId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x24}};
const IID mediaId = {0x7d1e4b60, 0x2f3a, 0x4c8e, {0x9b, 0x1d, 0x5a, 0x6c, 0x7e, 0x8f, 0x90, 0x25}};

HRESULT giveText(VARIANT* result, const wchar_t* text)
{
    if (result) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(text);
    }
    return S_OK;
}

HRESULT giveLong(VARIANT* result, long value)
{
    if (result) {
        result->vt = VT_I4;
        result->lVal = value;
    }
    return S_OK;
}

HRESULT giveReal(VARIANT* result, double value)
{
    if (result) {
        result->vt = VT_R8;
        result->dblVal = value;
    }
    return S_OK;
}

long entries()
{
    std::lock_guard<std::mutex> hold(playlistLock());
    return long(playlist().size());
}

// Where TOLVANU_STANDIN_STATE names a file, the player's state after each call, one line, so
// that a test outside the hub's process sees what the connector did.
void saveState()
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("TOLVANU_STANDIN_STATE", path, sizeof path);
    if (n == 0 || n + 4 >= sizeof path)
        return;
    char temporary[MAX_PATH];
    snprintf(temporary, sizeof temporary, "%s.new", path);
    FILE* file = fopen(temporary, "wb");
    if (!file)
        return;
    const auto& p = player();
    fprintf(file, "volume=%ld current=%ld shuffle=%d loop=%d playState=%ld\n", p.volume, p.current,
            p.shuffle ? 1 : 0, p.loop ? 1 : 0, p.playState);
    fclose(file);
    MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING);
}

// Every call first stalls and may fail, as the tests switch it.
HRESULT troubled()
{
    auto& p = player();
    if (p.stallMs > 0)
        Sleep(DWORD(p.stallMs));
    return p.failing ? E_FAIL : S_OK;
}

HRESULT giveBool(VARIANT* result, short value)
{
    if (result) {
        result->vt = VT_BOOL;
        result->boolVal = value;
    }
    return S_OK;
}

HRESULT giveObject(VARIANT* result, IDispatch* object)
{
    if (result) {
        result->vt = VT_DISPATCH;
        result->pdispVal = object;
    } else {
        object->Release();
    }
    return S_OK;
}

// The put's single argument as type, or a failure.
HRESULT putArg(std::vector<VARIANT*>& args, VARTYPE type, VARIANT& out)
{
    VariantInit(&out);
    if (args.size() != 1)
        return DISP_E_BADPARAMCOUNT;
    return VariantChangeType(&out, args[0], 0, type);
}

// A plain automation object (no OLE faces) whose members work only while attached; a media
// item knows its playlist index.
class part final : public dispatchObject {
public:
    explicit part(REFIID dispinterface, long index = -1)
        : dispatchObject(dispinterface), kind_(dispinterface), index_(index)
    {
        ++record().objects;
    }
    ~part() override { --record().objects; }

    long index() const { return index_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != kind_)
            return E_NOINTERFACE;
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }

protected:
    HRESULT invoke(DISPID id, WORD flags, std::vector<VARIANT*>& args, VARIANT* result) override
    {
        auto& p = player();
        if (!p.remote)
            return E_FAIL;
        if (const HRESULT hr = troubled(); FAILED(hr))
            return hr;
        const HRESULT hr = member(id, flags & DISPATCH_PROPERTYPUT, args, result);
        saveState();
        return hr;
    }

private:
    HRESULT member(DISPID id, bool put, std::vector<VARIANT*>& args, VARIANT* result)
    {
        if (kind_ == controlsId)
            return controls(id, put, args, result);
        if (kind_ == settingsId)
            return settings(id, put, args, result);
        if (kind_ == playlistId)
            return playlistMember(id, args, result);
        if (kind_ == mediaId)
            return media(id, args, result);
        if (kind_ == errorId && id == 1)
            return giveLong(result, 0);
        return DISP_E_MEMBERNOTFOUND;
    }

    static HRESULT controls(DISPID id, bool put, std::vector<VARIANT*>& args, VARIANT* result)
    {
        auto& p = player();
        switch (id) {
        case 1:
            ++p.plays;
            p.playState = 3;
            return S_OK;
        case 2:
            ++p.pauses;
            p.playState = 2;
            return S_OK;
        case 3:
            ++p.stops;
            p.playState = 1;
            p.position = 0;
            return S_OK;
        case 4:
            ++p.nexts;
            p.current = entries() ? (p.current + 1) % entries() : 0;
            return S_OK;
        case 5:
            ++p.previouses;
            p.current = p.current > 0 ? p.current - 1 : 0;
            return S_OK;
        case 6:
            if (put) {
                VARIANT value;
                const HRESULT hr = putArg(args, VT_R8, value);
                if (SUCCEEDED(hr))
                    p.position = value.dblVal;
                return hr;
            }
            return giveReal(result, p.position);
        case 7: {
            if (!put)
                return E_NOTIMPL;
            VARIANT value;
            const HRESULT hr = putArg(args, VT_DISPATCH, value);
            if (FAILED(hr))
                return hr;
            part* item = nullptr;
            if (value.pdispVal && SUCCEEDED(value.pdispVal->QueryInterface(mediaId, reinterpret_cast<void**>(&item))) && item) {
                p.current = item->index();
                p.position = 0;
                ++p.itemPuts;
                item->Release();
            }
            VariantClear(&value);
            return item ? S_OK : E_INVALIDARG;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

    static HRESULT settings(DISPID id, bool put, std::vector<VARIANT*>& args, VARIANT* result)
    {
        auto& p = player();
        if (id == 1) {
            if (put) {
                VARIANT value;
                const HRESULT hr = putArg(args, VT_R8, value);
                if (SUCCEEDED(hr))  // the player clamps
                    p.volume = value.dblVal < 0 ? 0 : value.dblVal > 100 ? 100 : long(value.dblVal);
                return hr;
            }
            return giveLong(result, p.volume);
        }
        if ((id != 2 && id != 3) || args.empty() || args[0]->vt != VT_BSTR || !args[0]->bstrVal)
            return id == 2 || id == 3 ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
        bool* mode = wcscmp(args[0]->bstrVal, L"shuffle") == 0 ? &p.shuffle
                     : wcscmp(args[0]->bstrVal, L"loop") == 0  ? &p.loop
                                                                : nullptr;
        if (!mode)
            return E_INVALIDARG;
        if (id == 2)
            return giveBool(result, *mode ? VARIANT_TRUE : VARIANT_FALSE);
        VARIANT value;
        VariantInit(&value);
        if (args.size() != 2 || FAILED(VariantChangeType(&value, args[1], 0, VT_BOOL)))
            return E_INVALIDARG;
        *mode = value.boolVal != VARIANT_FALSE;
        return S_OK;
    }

    static HRESULT playlistMember(DISPID id, std::vector<VARIANT*>& args, VARIANT* result)
    {
        auto& p = player();
        if (id == 1)
            return giveLong(result, p.countOverridden ? p.countOverride : entries());
        if (id != 2)
            return DISP_E_MEMBERNOTFOUND;
        VARIANT index;
        VariantInit(&index);
        if (args.size() != 1 || FAILED(VariantChangeType(&index, args[0], 0, VT_I4)))
            return E_INVALIDARG;
        if (index.lVal < 0 || index.lVal >= entries())
            return E_INVALIDARG;
        return giveObject(result, new part(mediaId, index.lVal));
    }

    HRESULT media(DISPID id, std::vector<VARIANT*>& args, VARIANT* result) const
    {
        std::lock_guard<std::mutex> hold(playlistLock());
        if (index_ < 0 || index_ >= long(playlist().size()))
            return E_FAIL;
        const playlistEntry& entry = playlist()[size_t(index_)];
        if (id == 1)
            return giveReal(result, entry.duration);
        if (id != 2)
            return DISP_E_MEMBERNOTFOUND;
        if (args.size() != 1 || args[0]->vt != VT_BSTR || !args[0]->bstrVal)
            return E_INVALIDARG;
        if (wcscmp(args[0]->bstrVal, L"Artist") == 0)
            return giveText(result, entry.artist.c_str());
        if (wcscmp(args[0]->bstrVal, L"Title") == 0)
            return giveText(result, entry.title.c_str());
        return giveText(result, L"");
    }

    IID kind_;
    long index_;
};

class mediaPlayer final : public oleControl {
public:
    mediaPlayer() : oleControl(playerId) {}

protected:
    HRESULT invoke(DISPID id, WORD flags, std::vector<VARIANT*>& args, VARIANT* result) override
    {
        auto& p = player();
        const bool put = flags & DISPATCH_PROPERTYPUT;
        if (const HRESULT hr = troubled(); FAILED(hr))
            return hr;
        switch (id) {
        case 1:
            return giveText(result, playerVersion().c_str());
        case 2:
            return put ? putBool(args, p.enabled) : giveBool(result, p.enabled);
        case 3:
            return put ? putBool(args, p.windowlessVideo) : giveBool(result, p.windowlessVideo);
        case 4:
            return put ? putBool(args, p.enableContextMenu) : giveBool(result, p.enableContextMenu);
        case 5:
            if (put) {
                VARIANT value;
                const HRESULT hr = putArg(args, VT_BSTR, value);
                if (SUCCEEDED(hr))
                    wcsncpy(p.uiMode, value.bstrVal ? value.bstrVal : L"", 15);
                VariantClear(&value);
                return hr;
            }
            return giveText(result, p.uiMode);
        case 6:
            return giveObject(result, new part(controlsId));
        case 7:
            return giveObject(result, new part(settingsId));
        case 8:
            return giveObject(result, new part(errorId));
        case 9:
            return p.remote ? giveLong(result, p.playState) : E_FAIL;
        case 10:
            if (!p.remote || p.current < 0 || p.current >= entries())
                return E_FAIL;
            return giveObject(result, new part(mediaId, p.current));
        case 11:
            return p.remote ? giveObject(result, new part(playlistId)) : E_FAIL;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    static HRESULT putBool(std::vector<VARIANT*>& args, short& into)
    {
        VARIANT value;
        const HRESULT hr = putArg(args, VT_BOOL, value);
        if (SUCCEEDED(hr))
            into = value.boolVal;
        return hr;
    }

    void siteGiven(IOleClientSite* site) override
    {
        auto& p = player();
        p.remote = false;
        IServiceProvider* provider = nullptr;
        if (FAILED(site->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(&provider))))
            return;
        remoteMediaServices* remote = nullptr;
        p.serviceHr = provider->QueryService(remoteMediaServicesId, remoteMediaServicesId,
                                             reinterpret_cast<void**>(&remote));
        provider->Release();
        if (FAILED(p.serviceHr) || !remote)
            return;
        ask(remote);
        remote->Release();
    }

    static void ask(remoteMediaServices* remote)
    {
        auto& p = player();
        BSTR type = nullptr;
        if (SUCCEEDED(remote->GetServiceType(&type)) && type) {
            wcsncpy(p.serviceType, type, 31);
            p.remote = wcscmp(type, L"Remote") == 0;
        }
        SysFreeString(type);

        BSTR name = reinterpret_cast<BSTR>(1);
        p.applicationNameHr = remote->GetApplicationName(&name);
        p.applicationNameNull = name == nullptr;

        BSTR scriptName = reinterpret_cast<BSTR>(1);
        IDispatch* scriptable = reinterpret_cast<IDispatch*>(1);
        p.scriptableHr = remote->GetScriptableObject(&scriptName, &scriptable);
        p.scriptableNull = scriptName == nullptr && scriptable == nullptr;

        BSTR file = reinterpret_cast<BSTR>(1);
        p.customUiHr = remote->GetCustomUIMode(&file);
        p.customUiNull = file == nullptr;
    }
};

} // namespace

// A process that cannot call the stand-in's exports (the hub) gets its playlist from the file
// TOLVANU_STANDIN_PLAYLIST names: one "artist|title|seconds" line per entry, ASCII.
void loadPlaylistFile()
{
    char path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("TOLVANU_STANDIN_PLAYLIST", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    FILE* file = fopen(path, "r");
    if (!file)
        return;
    char line[512];
    std::lock_guard<std::mutex> hold(playlistLock());
    while (fgets(line, sizeof line, file)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        const size_t a = text.find('|');
        const size_t b = a == std::string::npos ? a : text.find('|', a + 1);
        if (b == std::string::npos)
            continue;
        auto wide = [](const std::string& s) { return std::wstring(s.begin(), s.end()); };
        playlist().push_back({wide(text.substr(0, a)), wide(text.substr(a + 1, b - a - 1)), atof(text.c_str() + b + 1)});
    }
    fclose(file);
}

IUnknown* makePlayer()
{
    static const bool loaded = (loadPlaylistFile(), true);
    (void)loaded;
    return static_cast<IDispatch*>(new mediaPlayer);
}

} // namespace standin
