#pragma once
#include "vcore/str.h"

// The texts of the question that lets a client in.
namespace hub {

inline constexpr const char16_t* questionCaption = u"Tolvanu SECURITY";

// "Do you want to give access to <display name>?"; the name is kept whole, however long.
vcore::str accessQuestion(const vcore::str& displayName);

} // namespace hub
