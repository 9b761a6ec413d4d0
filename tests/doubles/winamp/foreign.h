#pragma once
#include <cstdint>
#include <vector>

// Winamp's side of the component model, built the way a foreign program would: tables of plain
// functions with an explicit `thiscall` type, nothing shared with the component's declarations.
// x86_64 has one convention: only the i686 run checks `this` in ECX and callee-popped arguments.
namespace foreign {

#if defined(__i386__)
#define FOREIGN_THISCALL __attribute__((thiscall))
#else
#define FOREIGN_THISCALL
#endif

using entryFn = int(FOREIGN_THISCALL*)(void* self, int message, void* result, void** params, int count);
using handlerFn = int(FOREIGN_THISCALL*)(void* self, int face, int message, void* result, void** params, int count);

// Slot 0 (dispatch) and slot 1 (combined handler) of an object of the component.
int dispatch(void* object, int message, void* result, void** params, int count);
int handler(void* object, int face, int message, void* result, void** params, int count);

struct call {
    int message;
    void* callback;  // what params[0] pointed at
    int second;      // what params[1] pointed at; -1 without
    int count;
};

// The callback-registration service, its factory and the service manager.
struct callbackService {
    const void* const* table;
    std::vector<call> calls;
};
struct serviceFactory {
    const void* const* table;
    callbackService* service;
    int lastArgument = -1;
};
struct serviceManager {
    const void* const* table;
    serviceFactory* factory;  // null: the manager has none
    bool askedForTheRightGuid = false;
};

callbackService makeCallbackService();
serviceFactory makeFactory(callbackService& service);
serviceManager makeServiceManager(serviceFactory* factory);

} // namespace foreign
