// The system plug-in's entry points.
#include "plugins/common/exports.h"
#include "plugins/system/tolvanu_system.h"

namespace {

// Loaded under the loader lock: the worker begins at the hub's first call.
Tolvanu_system service(nullptr, Tolvanu_system::workerStart::atFirstCall);
const plugin::exports rules(service, plugin::exports::options{Tolvanu_system::initAnswer, true});

} // namespace

TOLVANU_PLUGIN_EXPORTS(rules)
