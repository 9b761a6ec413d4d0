#include "plugins/winamp_component/cordavelle_winamp.h"

#include <cstdint>

#include "plugins/winamp_component/cordavelle_port.h"
#include "plugins/winamp_component/wa5messages.h"

namespace {

enum faceNumber { componentFaceNumber = 0, coreCallbackFaceNumber = 1, sysCallbackFaceNumber = 2 };

template <class T>
bool argument(void** params, int count, int index, T& value)
{
    if (!params || count <= index || !params[index])
        return false;
    value = *static_cast<T*>(params[index]);
    return true;
}

template <class T>
void answer(void* result, T value)
{
    if (result)
        *static_cast<T*>(result) = value;
}

} // namespace

int Cordavelle_winamp::handle(int face, int message, void* result, void** params, int count)
{
    switch (face) {
    case componentFaceNumber: return component(message, params, count);
    case coreCallbackFaceNumber:
        if (message != wa5::coreCallback::query)
            return 0;
        answer<int>(result, 0);
        return 1;
    case sysCallbackFaceNumber: return sysCallback(message, result, params, count);
    default: return 0;
    }
}

void* Cordavelle_winamp::callbackService(void* serviceManager)
{
    wa5::guid id = wa5::callbackServiceGuid;
    void* params[] = {&id};
    void* factory = nullptr;
    wa5::callDispatch(serviceManager, wa5::serviceManager::getFactory, &factory, params, 1);
    if (factory) {
        int one = 1;
        void* factoryParams[] = {&one};
        void* service = nullptr;
        wa5::callDispatch(factory, wa5::factory::getInterface, &service, factoryParams, 1);
        if (service)
            callbackService_ = service;
    }
    return callbackService_;
}

int Cordavelle_winamp::component(int message, void** params, int count)
{
    if (message != wa5::component::registerServices && message != wa5::component::deregisterServices)
        return 0;
    void* serviceManager = nullptr;
    argument(params, count, 0, serviceManager);
    void* service = callbackService(serviceManager);
    void* callback = sysCallbackFace();
    int ignored = 0;
    if (message == wa5::component::registerServices) {
        if (service) {
            int zero = 0;
            void* registerParams[] = {&callback, &zero};
            wa5::callDispatch(service, wa5::callbackService::registerCallback, &ignored, registerParams, 2);
        }
        return 1;
    }
    if (service) {
        void* deregisterParams[] = {&callback};
        wa5::callDispatch(service, wa5::callbackService::deregisterCallback, &ignored, deregisterParams, 1);
    }
    port_.stop();
    return 1;
}

int Cordavelle_winamp::sysCallback(int message, void* result, void** params, int count)
{
    if (message == wa5::sysCallback::getEventType) {
        answer<uint32_t>(result, wa5::sysCallback::eventType);
        return 1;
    }
    if (message != wa5::sysCallback::notify)
        return 0;
    int event = 0;
    if (argument(params, count, 0, event) && event == wa5::sysCallback::startEvent)
        port_.start();
    answer<int>(result, 0);
    return 1;
}
