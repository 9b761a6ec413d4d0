// The echo plug-in's entry points.
#include "echo.h"
#include "plugins/common/exports.h"

namespace {

Tolvanu_echo service;
const plugin::exports rules(service);

} // namespace

TOLVANU_PLUGIN_EXPORTS(rules)
