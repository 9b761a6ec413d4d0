#pragma once
#include "vcore/str.h"

// A message the user must see and dismiss: a system-modal message box with OK on Windows;
// stderr, and a zenity dialog when a display is present, on Linux. Returns once dismissed.
namespace hub {

void showNotice(const vcore::str& text, const vcore::str& caption);

} // namespace hub
