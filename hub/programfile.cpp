#include "hub/programfile.h"

#include "vcore/file.h"

namespace hub {

vcore::str formatVersion(const uint16_t (&parts)[4])
{
    vcore::str text(64);
    text.format(u"%d.%d", parts[0], parts[1]);
    vcore::str more(16);
    if (parts[2] || parts[3]) {
        more.format(u".%d", parts[2]);
        text.append(more);
    }
    if (parts[3]) {
        more.format(u".%d", parts[3]);
        text.append(more);
    }
    return text;
}

vcore::str formatBuildTime(const vcore::calendartime& time)
{
    vcore::str text(64);
    text.format(u"%02d.%02d.%d %02d:%02d:%02d", time.day, time.month, time.year, time.hour, time.minute,
                time.second);
    return text;
}

vcore::str versionText()
{
    uint16_t parts[4] = {};
    return programVersion(parts) ? formatVersion(parts) : vcore::str();
}

vcore::str buildTimeTextOf(const vcore::str& path)
{
    vcore::file program(path.data());
    program.setAccess(vcore::file::genericRead);
    program.setSharing(vcore::file::shareRead | vcore::file::shareWrite);
    program.setMode(vcore::file::openExisting);
    vcore::calendartime created;
    if (!program.open() || !program.creationTime(created))
        return vcore::str();
    return formatBuildTime(created);
}

vcore::str buildTimeText() { return buildTimeTextOf(programPath()); }

} // namespace hub
