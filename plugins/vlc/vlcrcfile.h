#pragma once
#include "plugins/vlc/vlcrc.h"
#include "vcore/str.h"

// VLC's configuration file on this system: where it lives, how VLC here wants its lines, and
// reading and replacing it so that a failure half-way never costs the user's settings.
namespace vlc {

// %APPDATA%\vlc\vlcrc on Windows, $XDG_CONFIG_HOME/vlc/vlcrc (~/.config/vlc/vlcrc) elsewhere.
vcore::str vlcrcPath();
// Line ends (and, on Linux, the fake terminal) of the VLC built for this system.
vlcrcOptions vlcrcOptionsHere(bool allowRewrite);

// Upper bound of a file taken for a vlcrc; VLC's own is about 100 KB.
constexpr uint64_t vlcrcSizeLimit = 16u << 20;

// The file's bytes, one character per byte. False when it cannot be read whole, is larger than
// the limit, or holds a NUL byte (the text could not carry it through a rewrite).
bool loadVlcrc(const vcore::str& path, vcore::str& bytes);
// Keeps previous (the file as loaded) as path + ".bak", then puts bytes in path; each is written
// to path + ".new", flushed and renamed into place. False, with path untouched, when any step
// fails; the backup is then the earlier one or previous, whole.
bool saveVlcrc(const vcore::str& path, const vcore::str& bytes, const vcore::str& previous);

} // namespace vlc
