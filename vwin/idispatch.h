#pragma once
#include <cstdint>

#include "vcore/alist.h"
#include "vwin/com.h"
#include "vwin/idispatchfunc.h"
#include "vwin/variant.h"

namespace vwin {

// Calls a hosted object's automation members by name, from the member table its type
// information gives. Without an interface or with an unknown name, everything does nothing and
// answers empty or false. Windows only.
class iDispatch : public com_<IDispatch> {
public:
    static constexpr int32_t maxFuncsPerTypeInfo = 1024;

    iDispatch();
    virtual ~iDispatch();
    using com_<IDispatch>::get;
    using com_<IDispatch>::put;

    const CLSID& clsid() const { return clsid_; }
    void setClsid(const CLSID& clsid) { clsid_ = clsid; }

    // First member of that name, without regard to case; null when none.
    const iDispatchFunc* find(const char16_t* name) const;
    int32_t memberCount() const { return members_.count(); }
    const iDispatchFunc* member(int32_t i) const { return members_.at(i); }

    variant get(const char16_t* name);
    variant getIndexed(const char16_t* name, const VARIANT& index);
    bool put(const char16_t* name, const VARIANT& value);
    // args in the member's order; as many as the member takes are sent, missing ones as empty
    // text; afterwards args holds what the member left in them. result, when given, must be
    // initialised: it is cleared first.
    bool call(const char16_t* name, VARIANT* result, variant* args, int32_t count);

    // Holds from's IDispatch instead of the current interface and rebuilds the member table.
    bool attach(IUnknown* from);
    // Holds from's IDispatch with model's member table: objects of one type read their type
    // information once.
    bool attachLike(IUnknown* from, const iDispatch& model);
    // Rebuilds the member table from the held interface's type information.
    void buildMembers();
    // Releases the interface and forgets the members.
    void release();

private:
    void addMembersOf(ITypeInfo* info);
    variant getWith(const char16_t* name, VARIANT* args, UINT count);

    CLSID clsid_{};
    vcore::alist<iDispatchFunc> members_{256, true};
};

} // namespace vwin
