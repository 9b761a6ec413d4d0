#include "plugins/vlc/vlcrc.h"

#include <algorithm>
#include <vector>

#include "plugins/common/textview.h"

namespace vlc {
namespace {

using media::findText;
using media::viewOf;
using vcore::strview;

constexpr int32_t highestPort = 65535;

std::vector<strview> linesOf(const vcore::str& text)
{
    std::vector<strview> lines;
    const strview all = text.view();
    int32_t start = 0;
    while (start < all.length()) {
        int32_t end = media::findUnit(all, u'\n', start);
        const int32_t next = end < 0 ? all.length() : end + 1;
        if (end < 0)
            end = all.length();
        // Every CR before the line end goes: one kept would be stripped at the next reading,
        // so a rewritten line would change again.
        while (end > start && all[end - 1] == u'\r')
            --end;
        lines.push_back(media::slice(all, start, end));
        start = next;
    }
    return lines;
}

bool contains(strview line, const char16_t* key)
{
    return findText(line, viewOf(key)) >= 0;
}

bool isLoopbackName(strview host)
{
    return media::equalsIgnoreCase(host, viewOf(u"localhost")) ||
           media::equalsIgnoreCase(host, viewOf(u"127.0.0.1"));
}

// "rc-host=host:port": the port when host is a loopback name and a port is given.
bool readHostLine(strview line, int32_t& port)
{
    const strview value = media::slice(line, media::findUnit(line, u'=') + 1, line.length());
    const int32_t colon = media::findUnit(value, u':');
    if (colon < 0 || colon + 1 >= value.length() || !isLoopbackName(media::slice(value, 0, colon)))
        return false;
    port = vcore::str(media::slice(value, colon + 1, value.length())).toInt();
    return true;
}

void readLines(const std::vector<strview>& lines, vlcrcResult& result)
{
    bool enabled = false;
    for (strview line : lines) {
        if (!line.empty() && line[0] == u'#')
            continue;
        if (contains(line, u"extraintf=") && findText(line, viewOf(u"oldrc")) > 0)
            enabled = true;
        if (contains(line, u"rc-host="))
            readHostLine(line, result.port);
    }
    // A port beyond 65535 would be cut to another port by the socket layer.
    result.usable = enabled && result.port > 0 && result.port <= highestPort;
}

bool inForce(strview line)
{
    return line.empty() || line[0] != u'#';
}

enum class lineRole { host, quiet, interface, fakeTty, other };

// What the rewrite does with each line, in its order of precedence: a line carrying two keys is
// written as the first one, so a fake-tty key on a host, quiet or interface line is not kept.
std::vector<lineRole> rolesOf(const std::vector<strview>& lines)
{
    std::vector<lineRole> roles;
    bool hostSeen = false;
    for (strview line : lines) {
        // A later host line in force would win when read: it gets the new value too.
        if (contains(line, u"rc-host=") && (!hostSeen || inForce(line))) {
            hostSeen = true;
            roles.push_back(lineRole::host);
        } else if (contains(line, u"rc-quiet=")) {
            roles.push_back(lineRole::quiet);
        } else if (contains(line, u"extraintf=")) {
            roles.push_back(lineRole::interface);
        } else if (contains(line, u"rc-fake-tty=")) {
            roles.push_back(lineRole::fakeTty);
        } else {
            roles.push_back(lineRole::other);
        }
    }
    return roles;
}

void writeLine(vcore::str& text, strview line, const char16_t* lineEnd)
{
    text.append(line);
    text.append(lineEnd);
}

void rewrite(const std::vector<strview>& lines, const vlcrcOptions& options, vlcrcResult& result)
{
    const std::vector<lineRole> roles = rolesOf(lines);
    const bool addFakeTty =
        options.ensureFakeTty && std::find(roles.begin(), roles.end(), lineRole::fakeTty) == roles.end();
    bool hostWritten = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        switch (roles[i]) {
        case lineRole::host:
            result.port = rewrittenPort;
            writeLine(result.text, viewOf(u"rc-host=localhost:6637"), options.lineEnd);
            if (!hostWritten && addFakeTty)
                writeLine(result.text, viewOf(u"rc-fake-tty=1"), options.lineEnd);
            hostWritten = true;
            break;
        case lineRole::quiet:
            writeLine(result.text, viewOf(u"rc-quiet=1"), options.lineEnd);
            break;
        case lineRole::interface:
            writeLine(result.text, viewOf(u"extraintf=oldrc"), options.lineEnd);
            break;
        case lineRole::fakeTty:
            writeLine(result.text, options.ensureFakeTty ? viewOf(u"rc-fake-tty=1") : lines[i], options.lineEnd);
            break;
        case lineRole::other:
            writeLine(result.text, lines[i], options.lineEnd);
            break;
        }
    }
}

} // namespace

vlcrcResult readVlcrc(const vcore::str& fileText, const vlcrcOptions& options)
{
    const std::vector<strview> lines = linesOf(fileText);
    vlcrcResult result;
    readLines(lines, result);
    if (result.usable || !options.allowRewrite)
        return result;
    result.rewrite = true;
    rewrite(lines, options, result);
    return result;
}

} // namespace vlc
