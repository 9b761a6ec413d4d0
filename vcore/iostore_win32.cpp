#include "vcore/iostore.h"

#include <windows.h>
#include <objidl.h>

namespace vcore {

// The IStream face of an iostore: every call is forwarded to the stream, and the
// reference count is the stream's own.
class comstream final : public IStream {
public:
    explicit comstream(iostore& owner) : owner_(owner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
            *out = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner_.addRef(); }
    // May delete the owner and with it this face; nothing is touched afterwards.
    ULONG STDMETHODCALLTYPE Release() override { return owner_.release(); }

    HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* moved) override
    {
        uint32_t count = 0;
        bool ok = data && owner_.read(data, size, count);
        if (moved)
            *moved = count;
        return ok ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* moved) override
    {
        uint32_t count = 0;
        bool ok = data && owner_.write(data, size, count);
        if (moved)
            *moved = count;
        return ok ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* reached) override;
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override;

    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override
    {
        if (copy)
            *copy = nullptr;
        return E_NOTIMPL;
    }

private:
    iostore& owner_;
};

HRESULT comstream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* reached)
{
    int64_t base = 0;
    if (origin == STREAM_SEEK_CUR)
        base = int64_t(owner_.position());
    else if (origin == STREAM_SEEK_END)
        base = int64_t(owner_.size());
    else if (origin != STREAM_SEEK_SET)
        return STG_E_INVALIDFUNCTION;
    int64_t target = base + move.QuadPart;
    if (target < 0 || !owner_.seek(uint64_t(target)))
        return STG_E_INVALIDFUNCTION;
    if (reached)
        reached->QuadPart = owner_.position();
    return S_OK;
}

HRESULT comstream::Stat(STATSTG* stat, DWORD flags)
{
    if (!stat)
        return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    // The caller frees pwcsName with CoTaskMemFree, so it must be a copy of ours.
    if (!(flags & STATFLAG_NONAME)) {
        const str& name = owner_.name();
        size_t bytes = (size_t(name.length()) + 1) * sizeof(wchar_t);
        auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
        if (!copy)
            return STG_E_INSUFFICIENTMEMORY;
        CopyMemory(copy, name.data(), bytes - sizeof(wchar_t));
        copy[name.length()] = 0;
        stat->pwcsName = copy;
    }
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = owner_.size();
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    stat->mtime = stat->ctime = stat->atime = now;
    return S_OK;
}

IStream* iostore::comStream()
{
    if (!face_)
        face_ = new comstream(*this);
    addRef();
    return face_;
}

void iostore::destroyComStream()
{
    delete face_;
    face_ = nullptr;
}

} // namespace vcore
