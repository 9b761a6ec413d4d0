#pragma once
#include <string>

// Where per-user files go on Linux, after the XDG base directory rules.
namespace vcore::xdg {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string configHome();
// $XDG_RUNTIME_DIR when it is an absolute path, else empty.
std::string runtimeDir();

} // namespace vcore::xdg
