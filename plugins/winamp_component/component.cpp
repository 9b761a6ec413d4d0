// The library's one export, which Winamp calls after loading it.
#include "plugins/winamp_component/cordavelle_port.h"
#include "plugins/winamp_component/cordavelle_winamp.h"

namespace {

Cordavelle_port port;
Cordavelle_winamp component(port);

} // namespace

extern "C" wa5::ifc_wa5component* GetWinamp5SystemComponent()
{
    return component.componentFace();
}
