#pragma once
#include <cstdint>
#include <vector>

#include "hub/consolelayout.h"
#include "hub/menuactions.h"

// What the console's two lists show: the plug-ins' row order and every row's colours.
namespace hub {

// Plug-in indices (host order) sorted by class name, then instance name, in UTF-16 code unit
// order; equal rows keep their host order.
std::vector<int32_t> pluginRowOrder(const std::vector<pluginrow>& plugins);

struct rowcolours {
    rgb background;
    rgb indicator;
    rgb firstText;
    rgb secondText;  // plug-in rows only
};

rowcolours addressRowColours(const addressrow& row, bool selected);
rowcolours pluginRowColours(const pluginrow& row, bool selected);

} // namespace hub
