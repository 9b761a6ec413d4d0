#include "vcore/strtokens.h"

namespace vcore {

strtokens_var::strtokens_var(char16_t separator)
    : separator_{separator, 0}
{
}

int32_t strtokens_var::split(const str& text)
{
    clear();
    const char16_t* t = text.data();
    const int32_t n = text.length();
    int32_t start = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (t[i] == separator_[0]) {
            add(t + start, i - start);
            start = i + 1;
        }
    }
    add(t + start, n - start);
    return count();
}

} // namespace vcore
