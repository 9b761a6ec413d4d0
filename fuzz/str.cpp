// vcore::str's conversions: UTF-16 to UTF-8 and back gives the same units (lone surrogates
// included), valid UTF-8 to UTF-16 and back the same bytes; numbers read from anything; format
// with fuzzed arguments, widths and precisions prints what printf prints and pads texts exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "vcore/str.h"

namespace {

using fuzzcheck::require;

// Strict UTF-8 without NUL: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool strictUtf8(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        size_t n;
        char32_t c;
        if (b == 0) return false;
        if (b < 0x80) { ++i; continue; }
        if ((b & 0xE0) == 0xC0) { n = 2; c = b & 0x1F; }
        else if ((b & 0xF0) == 0xE0) { n = 3; c = b & 0x0F; }
        else if ((b & 0xF8) == 0xF0) { n = 4; c = b & 0x07; }
        else return false;
        if (i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            c = (c << 6) | (t & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

std::string bytesOf(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i) {
        require(s[i] < 256, "a UTF-8 unit above 255");
        out.push_back(char(s[i]));
    }
    return out;
}

void utf16RoundTrip(const std::u16string& units)
{
    vcore::str text(units.c_str());
    text.toUtf8();
    text.fromUtf8();
    require(std::u16string(text.data(), size_t(text.length())) == units, "UTF-16 changed on the way through UTF-8");
}

void utf8RoundTrip(const std::string& bytes)
{
    if (!strictUtf8(bytes))
        return;
    vcore::str text(bytes.c_str());
    text.fromUtf8();
    require(text.length() <= int32_t(bytes.size()), "UTF-16 longer than its UTF-8");
    text.toUtf8();
    require(bytesOf(text) == bytes, "UTF-8 changed on the way through UTF-16", bytes);
}

template <class T>
void sameAsPrintf(const char16_t* ours, const char* theirs, int width, int precision, T value)
{
    char expected[512];
    const int n = std::snprintf(expected, sizeof expected, theirs, width, precision, value);
    if (n < 0 || n >= int(sizeof expected))
        return;
    vcore::str got;
    got.format(ours, width, precision, value);
    require(bytesOf(got) == std::string(expected, size_t(n)), "format differs from printf", theirs);
}

void formats(FuzzedDataProvider& in)
{
    const int width = in.ConsumeIntegralInRange(-300, 300);
    const int precision = in.ConsumeIntegralInRange(-5, 300);
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: sameAsPrintf(u"%*.*d", "%*.*d", width, precision, in.ConsumeIntegral<int>()); break;
    case 1: sameAsPrintf(u"%-*.*llx", "%-*.*llx", width, precision, in.ConsumeIntegral<unsigned long long>()); break;
    case 2: sameAsPrintf(u"%+*.*g", "%+*.*g", width, precision, in.ConsumeFloatingPoint<double>()); break;
    case 3: sameAsPrintf(u"%0*.*f", "%0*.*f", width, std::min(precision, 40), in.ConsumeFloatingPoint<double>()); break;
    case 4: {
        const std::u16string arg(fuzzcheck::widened(in.ConsumeRandomLengthString(256)).data());
        vcore::str got;
        got.format(u"[%*.*s]", width, precision, arg.c_str());
        const size_t shown = precision >= 0 ? std::min(arg.size(), size_t(precision)) : arg.size();
        const size_t wanted = std::max(shown, size_t(width < 0 ? -width : width)) + 2;
        require(size_t(got.length()) == wanted, "a text padded to the wrong width");
        break;
    }
    default: {
        // A fuzzed format with no argument-taking conversion: only %% and plain text.
        std::string fmt = in.ConsumeRandomLengthString(256);
        vcore::str pattern = fuzzcheck::widened(fmt);
        std::u16string safe;
        for (int32_t i = 0; i < pattern.length(); ++i)
            safe += pattern[i] == u'%' ? std::u16string(u"%%") : std::u16string(1, pattern[i]);
        vcore::str got;
        got.format(safe.c_str());
        require(got.equals(pattern), "plain text changed by format");
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: {
        std::u16string units;
        while (in.remaining_bytes() >= 2 && units.size() < 4096) {
            const char16_t u = in.ConsumeIntegral<uint16_t>();
            if (u)
                units += u;
        }
        utf16RoundTrip(units);
        break;
    }
    case 1: utf8RoundTrip(in.ConsumeRemainingBytesAsString()); break;
    case 2: {
        const vcore::str text = fuzzcheck::widened(in.ConsumeRemainingBytesAsString());
        (void)text.toInt();
        (void)text.toReal();
        (void)text.evaluate();
        break;
    }
    default: formats(in); break;
    }
    return 0;
}
