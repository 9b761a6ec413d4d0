#pragma once
#include <cstdint>
#include <vector>

#include "vcore/regkey.h"

// The registry calls regkey stands on; regkey_win32.cpp and regkey_posix.cpp implement them.
namespace vcore::regos {

enum rootId : int { localMachine, currentUser, classesRoot };

regkey::handle root(rootId id);
// Null when the key does not exist (and create is off) or cannot be made.
regkey::handle openKey(regkey::handle parent, const str& name, bool create);
// Roots are not closed.
void closeKey(regkey::handle key);
bool queryValue(regkey::handle key, const str& name, uint32_t& type, std::vector<uint8_t>& data);
bool setValue(regkey::handle key, const str& name, uint32_t type, const std::vector<uint8_t>& data);
bool deleteValue(regkey::handle key, const str& name);
bool deleteKey(regkey::handle key, const str& name);

} // namespace vcore::regos
