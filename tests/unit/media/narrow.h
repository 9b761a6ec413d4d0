#pragma once
#include <string>

#include "vcore/str.h"

// A str as bytes (units above 255 as '?'), so failures print readably.
inline std::string narrow(const vcore::str& text)
{
    std::string out;
    for (int32_t i = 0; i < text.length(); ++i)
        out.push_back(text[i] < 256 ? char(text[i]) : '?');
    return out;
}
