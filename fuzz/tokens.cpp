// The splitters: fields quoted by the rule of the quoting splitter and joined come back as the
// same fields; the single-separator split joins back into its text; every field of every
// splitter lies inside the text it was cut from.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzzcheck.h"
#include "vcore/str.h"
#include "vcore/strtokens.h"

namespace {

using fuzzcheck::require;

std::u16string of(vcore::strview v)
{
    return std::u16string(v.data() ? v.data() : u"", size_t(v.length()));
}

void inside(const vcore::strtokens& t, const vcore::str& text)
{
    for (int32_t i = 0; i < t.count(); ++i) {
        const vcore::strview v = t.token(i);
        require(v.length() >= 0 && v.data() >= text.data() && v.data() + v.length() <= text.data() + text.length(),
                "a field outside its text");
    }
}

void quotedRoundTrip(const std::vector<std::u16string>& fields)
{
    std::u16string joined;
    for (const auto& f : fields) {
        if (!joined.empty())
            joined += u' ';
        joined += u'"';
        for (char16_t c : f)
            joined += c == u'"' ? std::u16string(u"\"\"") : std::u16string(1, c);
        joined += u'"';
    }
    vcore::str text(joined.c_str());
    vcore::strtokens_cpp t;
    t.parse(text);
    inside(t, text);
    std::vector<std::u16string> back;
    for (int32_t i = 0; i < t.count(); ++i)
        back.push_back(of(t.token(i)));
    require(back == fields, "quoted fields did not come back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool()) {
        std::vector<std::u16string> fields;
        while (in.remaining_bytes() > 0 && fields.size() < 64) {
            const vcore::str f = fuzzcheck::widened(in.ConsumeRandomLengthString(64));
            fields.emplace_back(f.data(), size_t(f.length()));
        }
        quotedRoundTrip(fields);
        return 0;
    }
    const char16_t separator = char16_t(in.ConsumeIntegralInRange(1, 255));
    vcore::str text = fuzzcheck::widened(in.ConsumeRemainingBytesAsString());

    vcore::strtokens_var var(separator);
    var.split(text);
    inside(var, text);
    std::u16string joined;
    for (int32_t i = 0; i < var.count(); ++i)
        joined += (i ? std::u16string(1, separator) : std::u16string()) + of(var.token(i));
    require(joined == of(text.view()), "fields did not join back into their text");

    vcore::strtokens other;
    other.splitLines(text);
    inside(other, text);
    other.splitWords(text);
    inside(other, text);
    other.splitPath(text);
    inside(other, text);

    vcore::strtokens_cpp quoting;
    quoting.setSeparators(u" ;,");
    quoting.parse(text);  // edits text: the fields are views into the edited one
    inside(quoting, text);
    return 0;
}
