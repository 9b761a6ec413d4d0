// Wine's RPC runtime unregisters an interface when the last stub for it goes and waits for the
// calls on it to end; a call that ends while that wait is being set up is missed, and the
// client's Release then never returns (seen under load). Holding one marshalled reference to
// each interface the player serves, for the process's life, keeps every one of them registered.
#include "registrations.h"

#include <objbase.h>

#include "objects.h"

namespace player {

namespace {

bool holdMarshalled(IUnknown* object, REFIID iid)
{
    IStream* stream = nullptr;
    if (!object || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return false;
    // Never released: the apartment's end takes it with the process.
    return SUCCEEDED(CoMarshalInterface(stream, iid, object, MSHCTX_LOCAL, nullptr, MSHLFLAGS_TABLESTRONG));
}

} // namespace

bool keepInterfacesRegistered(IUnknown* classObject)
{
    IDispatch* app = makeApp();
    // Not a client's: the server still ends when the last of theirs goes.
    --liveObjects;
    bool ok = holdMarshalled(classObject, IID_IClassFactory) && holdMarshalled(app, IID_IDispatch) &&
              holdMarshalled(app, iidApp);
    app->Release();
    ITypeInfo* info = typeInfoOf(iidApp);
    ok = holdMarshalled(info, IID_ITypeInfo) && ok;
    if (info)
        info->Release();
    return ok;
}

} // namespace player
