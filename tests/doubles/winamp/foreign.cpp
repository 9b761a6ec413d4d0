#include "tests/doubles/winamp/foreign.h"

#include <cstring>

namespace foreign {
namespace {

// {57B7A1B6-700E-44FF-9CB0-70B92BAF3959} as laid out in memory.
const unsigned char serviceGuid[16] = {0xB6, 0xA1, 0xB7, 0x57, 0x0E, 0x70, 0xFF, 0x44,
                                       0x9C, 0xB0, 0x70, 0xB9, 0x2B, 0xAF, 0x39, 0x59};

int FOREIGN_THISCALL serviceDispatch(void* self, int message, void* result, void** params, int count)
{
    auto* s = static_cast<callbackService*>(self);
    call c{message, nullptr, -1, count};
    if (count > 0 && params && params[0])
        c.callback = *static_cast<void**>(params[0]);
    if (count > 1 && params && params[1])
        c.second = *static_cast<int*>(params[1]);
    s->calls.push_back(c);
    if (result)
        *static_cast<int*>(result) = 1;
    return 1;
}

int FOREIGN_THISCALL factoryDispatch(void* self, int message, void* result, void** params, int count)
{
    auto* f = static_cast<serviceFactory*>(self);
    if (message != 300 || count < 1 || !result)
        return 0;
    f->lastArgument = *static_cast<int*>(params[0]);
    *static_cast<void**>(result) = f->service;
    return 1;
}

int FOREIGN_THISCALL managerDispatch(void* self, int message, void* result, void** params, int count)
{
    auto* m = static_cast<serviceManager*>(self);
    if (message != 50 || count < 1 || !result)
        return 0;
    m->askedForTheRightGuid = std::memcmp(params[0], serviceGuid, sizeof serviceGuid) == 0;
    *static_cast<void**>(result) = m->askedForTheRightGuid ? m->factory : nullptr;
    return 1;
}

const void* const serviceTable[] = {reinterpret_cast<const void*>(&serviceDispatch)};
const void* const factoryTable[] = {reinterpret_cast<const void*>(&factoryDispatch)};
const void* const managerTable[] = {reinterpret_cast<const void*>(&managerDispatch)};

} // namespace

int dispatch(void* object, int message, void* result, void** params, int count)
{
    auto table = *static_cast<void* const* const*>(object);
    return reinterpret_cast<entryFn>(table[0])(object, message, result, params, count);
}

int handler(void* object, int face, int message, void* result, void** params, int count)
{
    auto table = *static_cast<void* const* const*>(object);
    return reinterpret_cast<handlerFn>(table[1])(object, face, message, result, params, count);
}

callbackService makeCallbackService()
{
    return callbackService{serviceTable, {}};
}

serviceFactory makeFactory(callbackService& service)
{
    return serviceFactory{factoryTable, &service};
}

serviceManager makeServiceManager(serviceFactory* factory)
{
    return serviceManager{managerTable, factory};
}

} // namespace foreign
