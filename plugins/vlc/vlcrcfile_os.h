#pragma once
#include "vcore/str.h"

// The file-system steps of replacing vlcrc that differ by system; vlcrcfile_win32.cpp and
// vlcrcfile_posix.cpp implement them.
namespace vlc::os {

// Gives `to` the access rights (and, where it can, the owner) of `from`; best effort.
void copyAccess(const vcore::str& from, const vcore::str& to);
// Puts `fresh` in the place of `target` in one step; false leaves both as they were.
bool renameOver(const vcore::str& fresh, const vcore::str& target);
void removeFile(const vcore::str& path);

} // namespace vlc::os
