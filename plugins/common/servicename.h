#pragma once
#include "vcore/str.h"
#include "vcore/strview.h"

// Which names a client or the hub may use for a plug-in's service.
namespace plugin {

// The class: the part of a service name before its first '.' (all of it without one).
vcore::strview serviceClass(const vcore::str& serviceName);

// "media.VLC" answers to "media" and "media.vlc"; "system" to "system". Only A-Z case is
// ignored. An absent name answers to nothing.
bool namesService(const char16_t* name, const vcore::str& serviceName);

} // namespace plugin
