// The Windows Media Player plug-in's entry points.
#include "plugins/common/exports.h"
#include "plugins/wmp12/tolvanu_wmp.h"

namespace {

Tolvanu_WMP service;
const plugin::exports rules(service);

} // namespace

TOLVANU_PLUGIN_EXPORTS(rules)
