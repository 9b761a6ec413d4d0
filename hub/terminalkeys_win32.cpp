#include "hub/terminalkeys.h"

namespace hub {

// The tray menu carries the actions on Windows.
struct terminalkeys::impl {};

terminalkeys::terminalkeys(menuactions&, linegate&) {}
terminalkeys::~terminalkeys() = default;

} // namespace hub
