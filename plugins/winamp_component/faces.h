#pragma once
#include "plugins/winamp_component/dispatchable.h"

// The three faces of the component. Each one's table holds the dispatch entry, then the combined
// handler that also receives the face's number.
namespace wa5 {

class ifc_wa5component : public Dispatchable {
protected:
    ~ifc_wa5component() = default;
};

class CoreCallback : public Dispatchable {
protected:
    ~CoreCallback() = default;
};

class SysCallback : public Dispatchable {
protected:
    ~SysCallback() = default;
};

template <int face, class Base>
class MultiPatch : public Base {
public:
    int WA5_THISCALL dispatch(int message, void* result, void** params, int count) override
    {
        return handle(face, message, result, params, count);
    }
    virtual int WA5_THISCALL handle(int faceNumber, int message, void* result, void** params, int count) = 0;

protected:
    ~MultiPatch() = default;
};

} // namespace wa5
