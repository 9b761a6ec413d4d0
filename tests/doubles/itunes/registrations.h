#pragma once
#include <windows.h>
#include <unknwn.h>

namespace player {

// Keeps every interface the player serves registered while the process lives.
bool keepInterfacesRegistered(IUnknown* classObject);

} // namespace player
