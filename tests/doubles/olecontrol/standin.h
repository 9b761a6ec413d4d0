#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>
#include <oaidl.h>

#include "record.h"
#include "tests/doubles/refcounted.h"

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
class dispatchObject : public refCounted<IDispatch> {
public:
    explicit dispatchObject(REFIID dispinterface) : dispinterface_(dispinterface) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override;

protected:
    virtual HRESULT invoke(DISPID id, WORD flags, std::vector<VARIANT*>& args, VARIANT* result) = 0;

private:
    IID dispinterface_;
};

IUnknown* makeControl();
IUnknown* makePlayer();

} // namespace standin
