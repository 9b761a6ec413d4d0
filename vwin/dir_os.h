#pragma once
#include <cstdint>
#include <functional>

#include "vcore/event.h"
#include "vcore/str.h"

// The folder calls filelist and dir stand on; dir_win32.cpp and dir_posix.cpp implement them.
namespace vwin::diros {

// Separator between a folder and an entry name.
extern const char16_t separator;

// folder + separator + name; name alone for an empty folder, no doubled separator.
inline vcore::str join(const vcore::str& folder, const vcore::str& name)
{
    vcore::str joined(folder);
    int32_t n = joined.length();
    if (n > 0 && joined[n - 1] != separator && joined[n - 1] != u'/')
        joined.append(separator);
    joined.append(name);
    return joined;
}

using visitor = std::function<void(const char16_t* name, uint32_t attributes)>;

// Calls found for every entry of folder ("" for the current one) whose name matches pattern,
// "." and ".." included; attributes use the filelist bits. False when the folder cannot be read.
bool scan(const vcore::str& folder, const vcore::str& pattern, const visitor& found);

// The current folder.
vcore::str currentFolder();

struct watch;  // a change notification on one folder

// filter uses dir's bits (0x01 folder names, 0x02 file names, 0x04 size, 0x08 last write,
// 0x10 attributes); none when the system refuses.
watch* openWatch(const vcore::str& folder, uint32_t filter, bool subfolders);
void closeWatch(watch* w);
// Blocks until stop is set (false) or a change matching the filter happened (true); re-arms.
bool waitChange(watch* w, vcore::event& stop);
// Drops the calling thread to the lowest scheduling priority.
void lowerThreadPriority();

} // namespace vwin::diros
