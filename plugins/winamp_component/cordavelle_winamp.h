#pragma once
#include "plugins/winamp_component/faces.h"

class Cordavelle_port;

// The object handed to Winamp: its component face registers the system callback, whose event 10
// starts the port.
class Cordavelle_winamp : public wa5::MultiPatch<0, wa5::ifc_wa5component>,
                          public wa5::MultiPatch<1, wa5::CoreCallback>,
                          public wa5::MultiPatch<2, wa5::SysCallback> {
public:
    explicit Cordavelle_winamp(Cordavelle_port& port) : port_(port) {}

    int WA5_THISCALL handle(int face, int message, void* result, void** params, int count) override;

    wa5::ifc_wa5component* componentFace() { return static_cast<MultiPatch<0, wa5::ifc_wa5component>*>(this); }
    wa5::SysCallback* sysCallbackFace() { return static_cast<MultiPatch<2, wa5::SysCallback>*>(this); }

private:
    int component(int message, void** params, int count);
    int sysCallback(int message, void* result, void** params, int count);
    // The callback-registration service; the one from an earlier call when the manager has none.
    void* callbackService(void* serviceManager);

    Cordavelle_port& port_;
    void* callbackService_ = nullptr;
};
