#pragma once
// What every target shares: texts from fuzz bytes, and a property check that stops the run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "vcore/str.h"

namespace fuzzcheck {

// Each byte widened to one unit, as the ports read datagrams; cut at the first NUL like them.
inline vcore::str widened(const std::string& bytes)
{
    vcore::str text;
    for (char c : bytes) {
        if (c == 0)
            break;
        text.append(char16_t(static_cast<unsigned char>(c)));
    }
    return text;
}

// A datagram's text as the ports decode it: up to the first NUL, UTF-8.
inline vcore::str decoded(const std::string& bytes)
{
    vcore::str text(bytes.c_str());
    text.fromUtf8();
    return text;
}

inline std::string narrowed(const vcore::str& text)
{
    std::string out;
    for (int32_t i = 0; i < text.length(); ++i)
        out.push_back(text[i] < 256 ? char(text[i]) : '?');
    return out;
}

// A broken property is a finding like a crash: libFuzzer saves the input on abort.
[[noreturn]] inline void fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "property broken: %s\n%s\n", what, detail.c_str());
    std::abort();
}

inline void require(bool holds, const char* what, const std::string& detail = {})
{
    if (!holds)
        fail(what, detail);
}

} // namespace fuzzcheck
