// The VLC plug-in's entry points.
#include "plugins/common/exports.h"
#include "plugins/vlc/tolvanu_vlc.h"

namespace {

Tolvanu_VLC service;
// Init refuses a null callback: the preparation asks the hub through it.
const plugin::exports rules(service, plugin::exports::options{1, true});

} // namespace

TOLVANU_PLUGIN_EXPORTS(rules)
