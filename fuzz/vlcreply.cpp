// VLC's remote-control output as a stream cut into chunks of random sizes: the line reader joins
// them into the same lines as the whole stream gives, no line beyond its bound, and the reply
// parser takes every line after any of the commands the connector sends.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzzcheck.h"
#include "plugins/vlc/linereader.h"
#include "plugins/vlc/replyparser.h"

namespace {

using fuzzcheck::require;

const char16_t* const commands[] = {
    u"play", u"pause", u"stop", u"prev", u"next", u"get_title", u"get_length", u"get_time",
    u"playlist", u"status", u"logout", u"volume 256", u"seek 30", u"goto 2", u"random on", u"loop off",
};

std::vector<std::u16string> linesOf(vlc::lineReader& reader)
{
    std::vector<std::u16string> lines;
    vcore::str line;
    while (reader.next(line)) {
        require(line.length() <= vlc::lineReader::maxLineLength, "a line beyond its bound");
        lines.emplace_back(line.data(), size_t(line.length()));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const uint8_t pick = in.ConsumeIntegral<uint8_t>();
    const std::string stream = in.ConsumeRandomLengthString(1 << 20);

    vlc::lineReader whole;
    whole.push(stream.data(), stream.size());
    const std::vector<std::u16string> expected = linesOf(whole);

    vlc::vlcState state;
    vlc::replyParser parser(state);
    vlc::lineReader reader;
    std::vector<std::u16string> got;
    vcore::str last(commands[pick % std::size(commands)]);
    size_t at = 0;
    while (at < stream.size()) {
        const size_t chunk = std::min(stream.size() - at, in.ConsumeIntegralInRange<size_t>(1, 512));
        reader.push(stream.data() + at, chunk);
        at += chunk;
        parser.beginData();
        vcore::str line;
        while (reader.next(line)) {
            got.emplace_back(line.data(), size_t(line.length()));
            parser.feedLine(line, last);
        }
        if (in.ConsumeIntegralInRange(0, 7) == 0)
            last.set(commands[in.ConsumeIntegral<uint8_t>() % std::size(commands)]);
        require(state.list.size() <= size_t(vlc::replyParser::maxListEntries), "list beyond its bound");
    }
    require(got == expected, "chunking changed the lines");
    return 0;
}
