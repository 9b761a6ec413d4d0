// The system plug-in's entry points.
#include "plugins/common/exports.h"
#include "plugins/system/tolvanu_system.h"

namespace {

Tolvanu_system service;
const plugin::exports rules(service, plugin::exports::options{Tolvanu_system::initAnswer, true});

} // namespace

TOLVANU_PLUGIN_EXPORTS(rules)
