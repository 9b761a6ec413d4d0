// The stand-in player's automation objects over the type library built into this program.
#include "objects.h"

#include <cstdio>
#include <cstring>
#include <thread>

#include "tests/doubles/refcounted.h"

namespace player {

std::atomic<long> liveObjects{0};
extern const IID iidApp = {0x9DD6680B, 0x3EDC, 0x40DB, {0xA7, 0x71, 0xE6, 0xFE, 0x48, 0x32, 0xE3, 0x4A}};
std::wstring stateFile;

void writeState()
{
    if (stateFile.empty())
        return;
    char line[160];
    {
        model& m = theModel();
        std::lock_guard<std::mutex> hold(m.lock);
        const playlistRec* library = m.lists.empty() ? nullptr : &m.lists[0];
        long rating = -1;
        if (m.currentList >= 0 && size_t(m.currentList) < m.lists.size() && m.currentTrack >= 0 &&
            size_t(m.currentTrack) < m.lists[size_t(m.currentList)].tracks.size())
            rating = m.lists[size_t(m.currentList)].tracks[size_t(m.currentTrack)].rating;
        snprintf(line, sizeof line, "state play=%ld volume=%ld track=%d rating=%ld shuffle=%d repeat=%ld\n", m.state,
                 m.volume, m.currentTrack, rating, library && library->shuffle ? 1 : 0, library ? library->repeat : 0);
    }
    // Written aside and moved over, so a reader never sees half a line.
    const std::wstring aside = stateFile + L".new";
    HANDLE f = CreateFileW(aside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, line, DWORD(strlen(line)), &written, nullptr);
    CloseHandle(f);
    MoveFileExW(aside.c_str(), stateFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

model& theModel()
{
    static model m;
    return m;
}

namespace {

const IID iidTrack = {0x3C5E8A11, 0x7B2D, 0x4F61, {0x9E, 0x0A, 0x1D, 0x2C, 0x3B, 0x4A, 0x5F, 0x60}};
const IID iidCollection = {0x3C5E8A12, 0x7B2D, 0x4F61, {0x9E, 0x0A, 0x1D, 0x2C, 0x3B, 0x4A, 0x5F, 0x60}};
const IID iidPlaylist = {0x3C5E8A13, 0x7B2D, 0x4F61, {0x9E, 0x0A, 0x1D, 0x2C, 0x3B, 0x4A, 0x5F, 0x60}};

ITypeLib* library()
{
    static ITypeLib* loaded = [] {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        ITypeLib* lib = nullptr;
        if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &lib)))
            lib = nullptr;
        return lib;
    }();
    return loaded;
}

// A stall asked for by the test holds the next player call (test members never stall).
void stallIfAsked()
{
    long ms = 0;
    {
        std::lock_guard<std::mutex> hold(theModel().lock);
        ms = theModel().stallMs;
        theModel().stallMs = 0;
    }
    if (ms <= 0)
        return;
    theModel().stalling = 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    theModel().stalling = 0;
}

long intArg(VARIANT* v)
{
    VARIANT out;
    VariantInit(&out);
    if (FAILED(VariantChangeType(&out, v, 0, VT_I4)))
        return 0;
    return out.lVal;
}

std::wstring textArg(VARIANT* v)
{
    VARIANT out;
    VariantInit(&out);
    if (FAILED(VariantChangeType(&out, v, 0, VT_BSTR)) || !out.bstrVal)
        return L"";
    std::wstring text(out.bstrVal, SysStringLen(out.bstrVal));
    VariantClear(&out);
    return text;
}

HRESULT giveInt(VARIANT* result, long value)
{
    if (result) {
        result->vt = VT_I4;
        result->lVal = value;
    }
    return S_OK;
}

HRESULT giveText(VARIANT* result, const std::wstring& value)
{
    if (result) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocStringLen(value.data(), UINT(value.size()));
    }
    return S_OK;
}

HRESULT giveObject(VARIANT* result, IDispatch* object)
{
    if (!object)
        return E_FAIL;
    if (!result) {
        object->Release();
        return S_OK;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
    return S_OK;
}

class dispatchObject : public standin::refCounted<IDispatch> {
public:
    explicit dispatchObject(REFIID dispinterface) : dispinterface_(dispinterface) { ++liveObjects; }
    virtual ~dispatchObject() { objectGone(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == dispinterface_) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override
    {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        *info = typeInfoOf(dispinterface_);
        return *info ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        ITypeInfo* info = typeInfoOf(dispinterface_);
        if (!info)
            return E_FAIL;
        const HRESULT hr = DispGetIDsOfNames(info, names, count, ids);
        info->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override
    {
        const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        std::vector<VARIANT*> args;
        if (params)
            for (UINT k = params->cArgs; k > 0; --k)
                args.push_back(&params->rgvarg[k - 1]);
        if (put && args.empty())
            return DISP_E_BADPARAMCOUNT;
        if (result)
            VariantInit(result);
        if (id < 100)
            stallIfAsked();
        const HRESULT hr = invoke(id, put, args, result);
        if (id < 100 && (put || (flags & DISPATCH_METHOD)))
            writeState();
        return hr;
    }

protected:
    virtual HRESULT invoke(DISPID id, bool put, std::vector<VARIANT*>& args, VARIANT* result) = 0;

private:
    IID dispinterface_;
};

// With the model locked: the entry, or null when gone.
playlistRec* listAt(int list)
{
    auto& lists = theModel().lists;
    return list >= 0 && size_t(list) < lists.size() ? &lists[size_t(list)] : nullptr;
}

trackRec* trackAt(int list, int track)
{
    playlistRec* p = listAt(list);
    return p && track >= 0 && size_t(track) < p->tracks.size() ? &p->tracks[size_t(track)] : nullptr;
}

class trackObject : public dispatchObject {
public:
    trackObject(int list, int track) : dispatchObject(iidTrack), list_(list), track_(track) {}

protected:
    HRESULT invoke(DISPID id, bool put, std::vector<VARIANT*>& args, VARIANT* result) override
    {
        std::lock_guard<std::mutex> hold(theModel().lock);
        trackRec* t = trackAt(list_, track_);
        if (!t)
            return E_FAIL;
        switch (id) {
        case 1: return giveText(result, t->name);
        case 2: return giveText(result, t->artist);
        case 3: return giveInt(result, t->duration);
        case 4: return giveInt(result, t->order);
        case 5:
            if (!put)
                return giveInt(result, t->rating);
            {
                const long r = intArg(args[0]);
                if (r < 0 || r > 100)
                    return E_INVALIDARG;
                t->rating = r;
            }
            return S_OK;
        case 6:
            theModel().currentList = list_;
            theModel().currentTrack = track_;
            theModel().state = 1;
            theModel().position = 0;
            theModel().playedOrder = t->order;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    int list_, track_;
};

class collectionObject : public dispatchObject {
public:
    explicit collectionObject(int list) : dispatchObject(iidCollection), list_(list) {}

protected:
    HRESULT invoke(DISPID id, bool, std::vector<VARIANT*>& args, VARIANT* result) override
    {
        std::lock_guard<std::mutex> hold(theModel().lock);
        playlistRec* p = listAt(list_);
        if (!p)
            return E_FAIL;
        const long count = long(p->tracks.size());
        if (id == 1)
            return giveInt(result, theModel().countForced ? theModel().forcedCount : count);
        if ((id != 0 && id != 2) || args.empty())
            return DISP_E_MEMBERNOTFOUND;
        const long index = intArg(args[0]);
        if (index < 1 || index > count)
            return E_INVALIDARG;
        if (id == 0)
            return giveObject(result, new trackObject(list_, int(index - 1)));
        for (long i = 0; i < count; ++i)
            if (p->tracks[size_t(i)].order == index)
                return giveObject(result, new trackObject(list_, int(i)));
        return E_INVALIDARG;
    }

private:
    int list_;
};

class playlistObject : public dispatchObject {
public:
    explicit playlistObject(int list) : dispatchObject(iidPlaylist), list_(list) {}

protected:
    HRESULT invoke(DISPID id, bool put, std::vector<VARIANT*>& args, VARIANT* result) override
    {
        std::lock_guard<std::mutex> hold(theModel().lock);
        playlistRec* p = listAt(list_);
        if (!p)
            return E_FAIL;
        switch (id) {
        case 1: return giveInt(result, p->id);
        case 2:
            if (put) {
                p->shuffle = intArg(args[0]) != 0;
                return S_OK;
            }
            if (result) {
                result->vt = VT_BOOL;
                result->boolVal = p->shuffle ? VARIANT_TRUE : VARIANT_FALSE;
            }
            return S_OK;
        case 3:
            if (put) {
                const long mode = intArg(args[0]);
                if (mode < 0 || mode > 2)
                    return E_INVALIDARG;
                p->repeat = mode;
                return S_OK;
            }
            return giveInt(result, p->repeat);
        case 4: return giveObject(result, new collectionObject(list_));
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    int list_;
};

class appObject : public dispatchObject {
public:
    appObject() : dispatchObject(iidApp) {}

protected:
    HRESULT invoke(DISPID id, bool put, std::vector<VARIANT*>& args, VARIANT* result) override
    {
        model& m = theModel();
        std::lock_guard<std::mutex> hold(m.lock);
        const size_t needs = id == 101 ? 6 : (id == 100 || id == 102 || id == 109) ? 2 : (id == 103 || id == 104) ? 1 : 0;
        if (args.size() < needs)
            return DISP_E_BADPARAMCOUNT;
        switch (id) {
        case 1:
            if (!trackAt(m.currentList, m.currentTrack)) {
                m.currentList = 0;
                m.currentTrack = 0;
            }
            m.state = 1;
            return S_OK;
        case 2: m.state = 0; return S_OK;
        case 3: m.state = 0; m.position = 0; return S_OK;
        case 4:
        case 5: {
            playlistRec* p = listAt(m.currentList);
            if (!p || p->tracks.empty())
                return E_FAIL;
            const int n = int(p->tracks.size());
            m.currentTrack = ((m.currentTrack < 0 ? 0 : m.currentTrack) + (id == 4 ? 1 : n - 1)) % n;
            m.position = 0;
            return S_OK;
        }
        case 6:
            if (!put)
                return giveInt(result, m.volume);
            {
                const long v = intArg(args[0]);
                m.volume = v < 0 ? 0 : v > 100 ? 100 : v;
            }
            return S_OK;
        case 7: return giveInt(result, m.state);
        case 8:
            if (!put)
                return giveInt(result, m.position);
            {
                const trackRec* t = trackAt(m.currentList, m.currentTrack);
                const long p = intArg(args[0]);
                if (!t || p < 0 || p > t->duration)
                    return E_INVALIDARG;
                m.position = p;
            }
            return S_OK;
        case 9:
            if (!trackAt(m.currentList, m.currentTrack)) {
                // No current track: success with nothing, as the player answers.
                if (result)
                    result->vt = VT_DISPATCH, result->pdispVal = nullptr;
                return S_OK;
            }
            return giveObject(result, new trackObject(m.currentList, m.currentTrack));
        case 10:
            if (!listAt(m.currentList)) {
                if (result)
                    result->vt = VT_DISPATCH, result->pdispVal = nullptr;
                return S_OK;
            }
            return giveObject(result, new playlistObject(m.currentList));
        case 11: return giveObject(result, new playlistObject(0));
        case 100: {
            const long list = intArg(args[0]);
            if (list < 0 || list > 64)
                return E_INVALIDARG;
            if (size_t(list) >= m.lists.size())
                m.lists.resize(size_t(list) + 1);
            m.lists[size_t(list)].tracks.clear();
            m.lists[size_t(list)].id = intArg(args[1]);
            return S_OK;
        }
        case 101: {
            playlistRec* p = listAt(int(intArg(args[0])));
            if (!p)
                return E_INVALIDARG;
            p->tracks.push_back(trackRec{textArg(args[1]), textArg(args[2]), intArg(args[3]), intArg(args[4]),
                                         intArg(args[5])});
            return S_OK;
        }
        case 102:
            m.currentList = int(intArg(args[0]));
            m.currentTrack = int(intArg(args[1]));
            return S_OK;
        case 103: m.stallMs = intArg(args[0]); return S_OK;
        case 104: m.state = intArg(args[0]); return S_OK;
        case 105: return giveInt(result, long(GetCurrentProcessId()));
        case 106: return giveInt(result, m.playedOrder);
        case 107: return giveInt(result, m.stalling);
        case 108: die(); return S_OK;
        case 109:
            m.forcedCount = intArg(args[0]);
            m.countForced = intArg(args[1]) != 0;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
};

} // namespace

ITypeInfo* typeInfoOf(REFIID dispinterface)
{
    ITypeInfo* info = nullptr;
    if (!library() || FAILED(library()->GetTypeInfoOfGuid(dispinterface, &info)))
        return nullptr;
    return info;
}

IDispatch* makeApp()
{
    return new appObject;
}

} // namespace player
