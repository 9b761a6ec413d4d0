// The in-process server: its class factory, the two COM entry points and the test's controls.
#include <mmdeviceapi.h>

#include "standin.h"
#include "tests/doubles/classfactory.h"

namespace standin {

endpointState& state()
{
    static endpointState shared;
    return shared;
}

} // namespace standin

extern "C" {

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, __uuidof(MMDeviceEnumerator)))
        return CLASS_E_CLASSNOTAVAILABLE;
    return standin::classFactory::handOut(standin::makeEnumerator, iid, out);
}

// Loaded by the test as well: never unloaded under it.
__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}

__declspec(dllexport) float standinLevel()
{
    return standin::state().level;
}

__declspec(dllexport) void standinSetLevel(float level)
{
    standin::state().level = level;
}

__declspec(dllexport) long standinSets()
{
    return standin::state().sets;
}

__declspec(dllexport) void standinSetPresent(int present)
{
    standin::state().present = present != 0;
}

} // extern "C"
