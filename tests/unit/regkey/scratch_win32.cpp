#include "scratch.h"

#include <windows.h>

#include <string>

// A key of its own per test process, in the Wine prefix's registry.
scratchRegistry::scratchRegistry()
{
    base_ = u"SOFTWARE\\TolvanuTest-";
    for (char c : std::to_string(GetCurrentProcessId()))
        base_.append(char16_t(c));
}

scratchRegistry::~scratchRegistry()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(base_.data()));
}
