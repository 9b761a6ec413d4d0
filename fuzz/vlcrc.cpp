// The vlcrc reader and rewriter: a rewritten text reads again, keeps every line it had no reason
// to touch, in order, and rewriting it once more changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzzcheck.h"
#include "plugins/vlc/vlcrc.h"

namespace {

using fuzzcheck::require;

// Lines as the reader cuts them: at LF, the CRs before it dropped.
std::vector<std::u16string> linesOf(const vcore::str& text)
{
    std::vector<std::u16string> lines;
    const std::u16string all(text.data(), size_t(text.length()));
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(u'\n', start);
        const size_t next = end == std::u16string::npos ? all.size() : end + 1;
        if (end == std::u16string::npos)
            end = all.size();
        while (end > start && all[end - 1] == u'\r')
            --end;
        lines.push_back(all.substr(start, end - start));
        start = next;
    }
    return lines;
}

bool touched(const std::u16string& line)
{
    for (const char16_t* key : {u"rc-host=", u"rc-quiet=", u"extraintf=", u"rc-fake-tty="})
        if (line.find(key) != std::u16string::npos)
            return true;
    return false;
}

std::vector<std::u16string> untouched(const vcore::str& text)
{
    std::vector<std::u16string> kept;
    for (auto& line : linesOf(text))
        if (!touched(line))
            kept.push_back(line);
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    vlc::vlcrcOptions options;
    options.allowRewrite = in.ConsumeBool();
    options.lineEnd = in.ConsumeBool() ? u"\n" : u"\r\n";
    options.ensureFakeTty = in.ConsumeBool();
    const vcore::str text = fuzzcheck::widened(in.ConsumeRemainingBytesAsString());

    const vlc::vlcrcResult first = vlc::readVlcrc(text, options);
    require(!first.usable || (first.port > 0 && first.port <= 65535), "usable without a port");
    if (!first.rewrite)
        return 0;
    require(options.allowRewrite && !first.usable, "rewrote a text it was not to rewrite");
    require(untouched(first.text) == untouched(text), "a line the rewrite had no reason to touch changed",
            fuzzcheck::narrowed(text));

    const vlc::vlcrcResult second = vlc::readVlcrc(first.text, options);
    // With the port written and the interface switched on, VLC's next start must offer it.
    const auto lines = linesOf(first.text);
    const bool enabled = std::find(lines.begin(), lines.end(), u"extraintf=oldrc") != lines.end();
    if (first.port == vlc::rewrittenPort && enabled)
        require(second.usable && second.port == vlc::rewrittenPort, "the rewritten text does not read as usable",
                fuzzcheck::narrowed(text));
    if (second.rewrite)
        require(second.text.equals(first.text), "a second rewrite changed the text again");
    return 0;
}
