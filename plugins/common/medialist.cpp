#include "plugins/common/medialist.h"

#include <algorithm>

namespace media {

std::vector<vcore::str> fullListReports(const titleList& list)
{
    std::vector<vcore::str> reports;
    reports.reserve(list.size() + 2);
    reports.emplace_back(u"media.list_start");
    for (const vcore::str& title : list) {
        vcore::str report(u"media.list_title ");
        report.append(title);
        reports.push_back(std::move(report));
    }
    reports.emplace_back(u"media.list_end");
    return reports;
}

int32_t shortListFirst(int32_t current, int32_t count, int32_t entries)
{
    // 64-bit: current and count come from the client and may be near the int limits.
    int64_t first = int64_t(current) - count / 3;
    if (first < 0)
        return 0;
    if (entries < first + count)
        first = std::max<int64_t>(int64_t(entries) - count, 0);
    return int32_t(std::min<int64_t>(first, INT32_MAX));
}

vcore::str shortListReport(const titleList& list, int32_t current, int32_t count, titleCut cut)
{
    const int32_t entries = int32_t(std::min<size_t>(list.size(), INT32_MAX));
    const int32_t first = shortListFirst(current, count, entries);
    vcore::str report;
    report.format(u"media.shortlist %d ", int(first));
    const int64_t end = std::min<int64_t>(int64_t(first) + std::max(count, 0), entries);
    for (int64_t i = first; i < end; ++i) {
        const vcore::str& title = list[size_t(i)];
        if (title.length() > cut.length) {
            report.append(title.mid(0, cut.length));
            report.append(cut.suffix);
        } else {
            report.append(title);
        }
        report.append(u'\t');
    }
    return report;
}

} // namespace media
