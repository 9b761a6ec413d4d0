#pragma once
#include <cstdint>

// The object model Winamp's components speak: every object is a table of member functions whose
// first slot takes (message, result pointer, parameter array, count). A parameter array holds a
// pointer to each argument; a result is written through the result pointer.
namespace wa5 {

// Winamp comes from another compiler: its objects are called with `this` in ECX and the callee
// popping the arguments. x86_64 has a single convention, so only the i686 build can get it wrong.
#if defined(__i386__)
#define WA5_THISCALL __attribute__((thiscall))
#else
#define WA5_THISCALL
#endif

// Slot 0 of every object, called as a foreign program calls it.
using dispatchEntry = int(WA5_THISCALL*)(void* self, int message, void* result, void** params, int count);

class Dispatchable {
public:
    virtual int WA5_THISCALL dispatch(int message, void* result, void** params, int count) = 0;

protected:
    ~Dispatchable() = default;
};

// Calls slot 0 of an object through its table, as Winamp's own code would. 0: not handled.
inline int callDispatch(void* object, int message, void* result, void** params, int count)
{
    if (!object)
        return 0;
    dispatchEntry entry = (*static_cast<dispatchEntry**>(object))[0];
    return entry(object, message, result, params, count);
}

} // namespace wa5
