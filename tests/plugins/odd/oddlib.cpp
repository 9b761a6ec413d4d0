// Plug-in libraries for the host's tests, one source built in several variants: well-behaved
// ones with chosen names, order keys and ports, and ones that break the rules. Every entry
// point call is appended to the file TOLVANU_ODD_TRACE names, as "<tag> <entry> <text>".
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "plugins/common/pluginabi.h"

namespace {

#ifndef ODD_NO_EXPORTS
std::string narrow(const char16_t* text)
{
    std::string out;
    for (; text && *text; ++text)
        out += *text < 128 ? char(*text) : '?';
    return out;
}

void trace(const char* entry, const std::string& text)
{
    const char* path = std::getenv("TOLVANU_ODD_TRACE");
    if (!path || !*path)
        return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s %s %s\n", ODD_TAG, entry, text.c_str());
        std::fclose(f);
    }
}

// The part of our name before its first '.', A-Z case ignored.
bool isOurClass(const char16_t* asked)
{
    std::string ours = ODD_NAME;
    ours = ours.substr(0, ours.find('.'));
    std::string theirs = narrow(asked);
    if (theirs.size() != ours.size())
        return false;
    for (size_t i = 0; i < ours.size(); ++i)
        if (std::tolower(ours[i]) != std::tolower(theirs[i]))
            return false;
    return true;
}

[[maybe_unused]] void write(char16_t* buffer, const std::string& name)
{
    size_t i = 0;
    for (; i < name.size(); ++i)
        buffer[i] = char16_t(name[i]);
    buffer[i] = 0;
}

#ifdef ODD_PROBE
// Every kind of call the hub answers, with the answers written into the instance name.
std::string probe(HostCallback callback)
{
    if (!callback)
        return "probe.nocallback";
    const std::pair<char, int> answers[] = {
        {'L', callback(u"LOG", u"odd probe says hello")},
        {'R', callback(u"Reg_Get", u"no.such.setting")},
        {'I', callback(u"ip", u"odd 10.1.2.3")},
        {'O', callback(u"bogus", u"x")},
        {'N', callback(u"log", nullptr)},
        {'C', callback(nullptr, u"x")},
    };
    std::string name = "probe.";
    for (const auto& [letter, answer] : answers) {
        name += letter;
        name += std::to_string(answer);
    }
    return name;
}
#endif
#endif

} // namespace

#ifdef ODD_NO_EXPORTS
// Not a plug-in at all: a library with an unrelated entry point.
extern "C" TOLVANU_EXPORT int odd_marker()
{
    return 7;
}
#else
extern "C" {

TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_init(char16_t* nameBuffer, HostCallback callback)
{
    trace("init", "");
#if defined(ODD_UNTERMINATED)
    (void)callback;
    // The whole buffer, and not one terminator in it.
    std::string name = "long.";
    name.resize(tolvanuNameRoom, 'x');
    for (int i = 0; i < tolvanuNameRoom; ++i)
        nameBuffer[i] = char16_t(name[size_t(i)]);
#elif defined(ODD_PROBE)
    write(nameBuffer, probe(callback));
#else
    (void)callback;
    write(nameBuffer, ODD_NAME);
#endif
    return ODD_KEY;
}

#ifndef ODD_NO_SEARCH
TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_search(const char16_t* name)
{
    trace("search", narrow(name));
    return isOurClass(name) ? 1 : 0;
}
#endif

TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_connect(const char16_t* name)
{
    trace("connect", narrow(name));
    return isOurClass(name) ? ODD_PORT : 0;
}

TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_close(const char16_t* name)
{
    trace("close", narrow(name));
    return !name || !*name || isOurClass(name) ? 1 : 0;
}

}
#endif

#ifndef ODD_NO_EXPORTS
namespace {

// Tells the trace when the library goes, so the order of unloading shows.
struct unloadWitness {
    ~unloadWitness() { trace("unload", ""); }
} witness;

} // namespace
#endif
