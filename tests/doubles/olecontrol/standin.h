#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>
#include <oaidl.h>

#include "record.h"

// Stand-in ActiveX controls: automation described by a type library of ours, in-place
// activation, and a record of what its container answered.
namespace standin {

standinRecord& record();
playerRecord& player();
std::wstring& playerVersion();

struct playlistEntry {
    std::wstring artist;
    std::wstring title;
    double duration;
};
std::vector<playlistEntry>& playlist();
std::mutex& playlistLock();

// The type information of one dispinterface of the library built into this module.
ITypeInfo* typeInfoOf(REFIID dispinterface);

// IDispatch over the library's type information; members run through invoke(), with the
// arguments in declaration order.
class dispatchObject : public IDispatch {
public:
    explicit dispatchObject(REFIID dispinterface) : dispinterface_(dispinterface) {}
    virtual ~dispatchObject() = default;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

protected:
    virtual HRESULT invoke(DISPID id, WORD flags, std::vector<VARIANT*>& args, VARIANT* result) = 0;

private:
    IID dispinterface_;
    std::atomic<ULONG> refs_{1};
};

IUnknown* makeControl();
IUnknown* makePlayer();

} // namespace standin
