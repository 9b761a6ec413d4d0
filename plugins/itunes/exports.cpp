// The iTunes plug-in's entry points.
#include "plugins/common/exports.h"
#include "plugins/itunes/tolvanu_itunes.h"

namespace {

Tolvanu_iTunes service;
const plugin::exports rules(service);

} // namespace

TOLVANU_PLUGIN_EXPORTS(rules)
