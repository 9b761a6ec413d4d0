#include "tests/e2e/flood/junk.h"

#include "vcore/str.h"
#include "vnet/address.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace flood {
namespace {

constexpr uint32_t largestDatagram = 1400;

const char* const discoveryWords[] = {
    "whois", "whoami", "youare", "thankyou", "search", "server", "open", "connect", "close",
    "Search", "OPEN", "close ", " whois", "searc", "opens",
};

const char* const sessionWords[] = {
    "media.init",        "media.done",      "media.close",      "media.play",        "media.pause",
    "media.stop",        "media.next",      "media.prev",       "media.set_volume",  "media.add_volume",
    "media.set_pos",     "media.add_pos",   "media.set_track",  "media.set_shuffle", "media.set_repeat",
    "media.set_rating",  "media.inc_rating", "media.get_state", "media.get_complete", "media.get_list",
    "media.get_shortlist", "media.get_title", "media.search",   "echo.reply",        "echo.ping",
    "media.",            "media",           ".",                "MEDIA.PLAY",        "echo.junk",
};

const char* const numbers[] = {
    "0", "-0", "-1", "1e308", "-1e308", "nan", "inf", "0x", "0xFFFFFFFFFFFFFFFFFFFF", "4294967296",
    "2147483648", "-2147483649", "18446744073709551616", "0.0000000000000000000001", "1,5", "+",
    "99999999999999999999999999999999999999", "00000000000000000000000000000000007", "0x1A0B", "6667",
};

// Each one not valid UTF-8: a lone continuation byte, a cut sequence, an overlong form, a
// surrogate, a code point past U+10FFFF, bytes that never occur.
const char* const brokenSequences[] = {
    "\x80", "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80",
    "\xF4\x90\x80\x80", "\xFE", "\xFF\xFF", "\xF8\x88\x80\x80\x80",
};

} // namespace

uint32_t dottedAddress(const std::string& text)
{
    return vnet::parseDottedAddress(vcore::str(text.c_str()).view());
}

junkMaker::junkMaker(uint64_t seed, std::string hub, std::string self, std::string service)
    : state_(seed), hub_(std::move(hub)), self_(std::move(self)), service_(std::move(service))
{
}

// splitmix64: fast enough that the sockets, not the maker, set the pace.
uint64_t junkMaker::next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t junkMaker::below(uint32_t bound)
{
    return bound == 0 ? 0 : uint32_t(next() % bound);
}

const char* junkMaker::pick(const char* const* words, uint32_t count)
{
    return words[below(count)];
}

std::string junkMaker::randomBytes()
{
    std::string bytes(below(largestDatagram + 1), '\0');
    for (char& c : bytes)
        c = char(next());
    return bytes;
}

std::string junkMaker::number()
{
    return pick(numbers, std::size(numbers));
}

std::string junkMaker::brokenUtf8()
{
    std::string text = "x";
    for (uint32_t n = 1 + below(4); n > 0; --n)
        text += pick(brokenSequences, std::size(brokenSequences));
    return text;
}

std::string junkMaker::longText()
{
    static const char fill[] = "A;. 9\xC3\xA4";
    std::string text(300 + below(largestDatagram - 300), fill[below(sizeof fill - 1)]);
    return text;
}

void junkMaker::maybeEmbedNul(std::string& text)
{
    if (!text.empty() && below(8) == 0)
        text.insert(below(uint32_t(text.size())), 1, '\0');
}

std::string junkMaker::field(bool forService)
{
    switch (below(forService ? 10 : 8)) {
    case 0:
        return "";
    case 1:
        return number();
    case 2:
        return brokenUtf8();
    case 3:
        return below(4) == 0 ? longText() : std::string(1 + below(20), ' ');
    case 4:
        return below(2) ? hub_ : self_;
    case 5:
        return "10.66.0." + number();
    case 6:
        return std::string("Phone") + (below(2) ? ":" : "::") + number();
    case 7:
        return "\xD0\x9F\xD1\x80\xD0\xB8:" + number();
    default:
        return below(2) ? service_ : std::string(service_.size() > 1 ? service_.substr(1) : "x");
    }
}

std::string junkMaker::discoveryLine()
{
    std::string line = pick(discoveryWords, std::size(discoveryWords));
    const uint32_t fields = below(8);
    for (uint32_t i = 0; i < fields; ++i) {
        line += ';';
        line += field(i == 0);
    }
    if (below(2))
        line += ';';
    if (below(16) == 0)
        line += std::string(below(largestDatagram), ';');
    maybeEmbedNul(line);
    if (line.size() > largestDatagram)
        line.resize(largestDatagram);
    return tamed(std::move(line));
}

std::string junkMaker::sessionLine()
{
    std::string line = pick(sessionWords, std::size(sessionWords));
    const uint32_t words = below(5);
    for (uint32_t i = 0; i < words; ++i) {
        line += std::string(1 + below(3) / 2, ' ');
        line += field(false);
    }
    maybeEmbedNul(line);
    if (line.size() > largestDatagram)
        line.resize(largestDatagram);
    return line;
}

// A harmful line loses its service name; what is left is still junk of the same shape.
std::string junkMaker::tamed(std::string line)
{
    while (harmfulForDiscovery(line)) {
        const size_t at = line.find(';');
        line.insert(at == std::string::npos ? line.size() : at + 1, "~");
        if (line.size() > largestDatagram)
            line.pop_back();
    }
    return line;
}

bool junkMaker::harmfulForDiscovery(const std::string& datagram) const
{
    // As the hub reads it: up to the first NUL, split at every ';'.
    const std::string message = datagram.substr(0, datagram.find('\0'));
    std::vector<std::string> fields(1);
    for (char c : message) {
        if (c == ';')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    fields.resize(std::max<size_t>(fields.size(), 3));
    const std::string& word = fields[0];
    if (word == "close")
        return fields[1] == service_;
    if (word == "open")
        return fields[1] == service_ && fields[2] == self_;
    if (word == "whoami") {
        const uint32_t to = dottedAddress(fields[1]);
        const bool broadcast = to == 0 || to == 0x7F000001u || to == 0xFFFFFFFFu;
        return !broadcast && to != dottedAddress(hub_) && to != dottedAddress(self_);
    }
    return false;
}

} // namespace flood
