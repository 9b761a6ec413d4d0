#pragma once
#include <functional>
#include <string>

#include "vcore/regtree_posix.h"

// The settings files standing in for the registry: one per root under $XDG_CONFIG_HOME/tolvanu/.
namespace vcore::regfile {

// $XDG_CONFIG_HOME/tolvanu, or ~/.config/tolvanu.
std::string folder();

// Calls look with the root's current content (empty when there is no file yet).
void read(const char* rootName, const std::function<void(key&)>& look);

// Read-modify-write under an exclusive lock shared by every process, so concurrent writers keep
// each other's changes. change returns whether it changed anything; the file is then replaced
// atomically. False when change refused or the file could not be written.
bool update(const char* rootName, const std::function<bool(key&)>& change);

} // namespace vcore::regfile
