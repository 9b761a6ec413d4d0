#include "hub/consolerows.h"

#include <algorithm>
#include <string_view>

namespace hub {

namespace {

constexpr rgb busyMark{240, 160, 0};
constexpr rgb idleMark{16, 16, 16};

std::u16string_view viewOf(const vcore::str& s) { return {s.data(), size_t(s.length())}; }

rgb backgroundOf(bool selected) { return selected ? rgb{96, 80, 48} : rgb{48, 48, 48}; }

} // namespace

std::vector<int32_t> pluginRowOrder(const std::vector<pluginrow>& plugins)
{
    std::vector<int32_t> order(plugins.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int32_t(i);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const pluginrow& x = plugins[size_t(a)];
        const pluginrow& y = plugins[size_t(b)];
        if (viewOf(x.className) != viewOf(y.className))
            return viewOf(x.className) < viewOf(y.className);
        return viewOf(x.instanceName) < viewOf(y.instanceName);
    });
    return order;
}

rowcolours addressRowColours(const addressrow& row, bool selected)
{
    return {backgroundOf(selected), row.current ? busyMark : idleMark, {0, 160, 240}, {0, 160, 240}};
}

rowcolours pluginRowColours(const pluginrow& row, bool selected)
{
    const rgb black{0, 0, 0};
    return {backgroundOf(selected), row.busy ? busyMark : idleMark, row.enabled ? rgb{0, 128, 192} : black,
            row.enabled ? rgb{0, 160, 240} : black};
}

} // namespace hub
