#include "plugins/vlc/lineparts.h"

#include "plugins/common/textview.h"

namespace vlc {
namespace {

using media::findUnit;
using media::slice;
using vcore::strview;

strview innerOf(strview line)
{
    const int32_t open = findUnit(line, u'(');
    if (open <= 0)
        return strview();
    const int32_t close = findUnit(line, u')', open + 1);
    return slice(line, open + 1, close < 0 ? line.length() : close);
}

strview tailOf(strview line)
{
    const int32_t close = findUnit(line, u')');
    const int32_t from = close >= 0 ? close + 1 : findUnit(line, u':') + 1;
    if (close < 0 && from == 0)
        return strview();
    const int32_t colon = findUnit(line, u':', from);
    return colon < 0 ? strview() : slice(line, colon + 1, line.length());
}

} // namespace

lineParts cutLine(const vcore::str& line)
{
    const strview all = line.view();
    const int32_t colon = findUnit(all, u':');
    lineParts parts;
    parts.head = media::trimmed(slice(all, 0, colon < 0 ? all.length() : colon), u" ");
    parts.inner = media::trimmed(innerOf(all), u" ");
    parts.tail = media::trimmed(tailOf(all), u" \t\r\n");
    return parts;
}

} // namespace vlc
