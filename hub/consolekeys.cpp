#include "hub/consolekeys.h"

#include "hub/access/securitylevel.h"

namespace hub {

namespace {

constexpr char escapeKey = 0x1b;

const char16_t* levelName(int32_t level)
{
    switch (security::effective(level)) {
    case security::trustAll:
        return u"trust all";
    case security::askOnce:
        return u"ask once";
    case security::askPerSession:
        return u"ask per session";
    case security::askEveryTime:
        return u"ask every time";
    default:
        return u"block all";
    }
}

} // namespace

consolekeys::consolekeys(menuactions& actions) : actions_(actions) {}

const char16_t* consolekeys::help()
{
    return u"keys: 0 trust all, 1 ask once, 2 ask per session, 3 ask every time, 4 block all; "
           u"a autostart; p plug-ins; c<n> close plug-in n; e<n> enable/disable plug-in n; "
           u"i addresses; l log; q exit; ? help";
}

void consolekeys::feed(std::string_view bytes)
{
    for (char key : bytes)
        press(key);
}

void consolekeys::press(char key)
{
    switch (state_) {
    case waiting::key:
        command(key);
        return;
    case waiting::closeNumber:
    case waiting::enableNumber:
        pluginKey(key);
        return;
    case waiting::escape:
        // ESC [ and ESC O open a sequence; after a lone ESC the key counts on its own.
        state_ = waiting::key;
        if (key == '[' || key == 'O')
            state_ = waiting::sequence;
        else
            press(key);
        return;
    case waiting::sequence:
        if (key >= 0x40 && key <= 0x7e)
            state_ = waiting::key;
        return;
    }
}

void consolekeys::command(char key)
{
    switch (key) {
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
        actions_.chooseLevel(key - '0');
        sayLevel();
        return;
    case 'a': {
        const bool on = !actions_.autostart();
        actions_.setAutostart(on);
        actions_.print(actions_.autostart() ? u"autostart: on" : u"autostart: off");
        return;
    }
    case 'p':
        listPlugins();
        return;
    case 'c':
        state_ = waiting::closeNumber;
        return;
    case 'e':
        state_ = waiting::enableNumber;
        return;
    case 'i':
        listAddresses();
        return;
    case 'l':
        showLog();
        return;
    case 'q':
        actions_.print(u"exit");
        actions_.exit();
        return;
    case escapeKey:
        state_ = waiting::escape;
        return;
    // Enter and blanks between keys say nothing.
    case '\r':
    case '\n':
    case ' ':
        return;
    default:
        actions_.print(help());
    }
}

void consolekeys::pluginKey(char key)
{
    const bool closing = state_ == waiting::closeNumber;
    state_ = waiting::key;
    const std::vector<pluginrow> rows = actions_.plugins();
    const int32_t index = key - '1';
    if (key < '1' || key > '9' || index >= int32_t(rows.size())) {
        actions_.print(vcore::str::formatted(u"%s: no plug-in %c (p lists them)", closing ? u"close" : u"enable",
                                             key >= ' ' && key < 0x7f ? key : '?'));
        return;
    }
    const pluginrow& row = rows[size_t(index)];
    if (closing) {
        actions_.closePlugin(index);
        actions_.print(vcore::str::formatted(u"closed: %s", row.instanceName.data()));
        return;
    }
    actions_.setPluginEnabled(index, !row.enabled);
    actions_.print(vcore::str::formatted(u"%s: %s", row.instanceName.data(), row.enabled ? u"disabled" : u"enabled"));
}

void consolekeys::listPlugins()
{
    const std::vector<pluginrow> rows = actions_.plugins();
    if (rows.empty())
        actions_.print(u"plug-ins: none");
    for (size_t i = 0; i < rows.size(); ++i) {
        const pluginrow& row = rows[i];
        actions_.print(vcore::str::formatted(u"plug-in %d: %s (%s) %s, %s", int(i + 1), row.instanceName.data(),
                                             row.className.data(), row.busy ? u"busy" : u"idle",
                                             row.enabled ? u"enabled" : u"disabled"));
    }
}

void consolekeys::listAddresses()
{
    const std::vector<addressrow> rows = actions_.addresses();
    if (rows.empty())
        actions_.print(u"addresses: none yet");
    for (const addressrow& row : rows)
        actions_.print(vcore::str::formatted(u"address: %s%s", row.text.data(), row.current ? u" (current)" : u""));
}

void consolekeys::showLog()
{
    const std::vector<vcore::str> lines = actions_.recentLog();
    actions_.print(vcore::str::formatted(u"--- the last %d log lines ---", int(lines.size())));
    for (const vcore::str& line : lines)
        actions_.print(line);
    actions_.print(u"---");
}

void consolekeys::sayLevel()
{
    actions_.print(vcore::str::formatted(u"security: %s", levelName(actions_.level())));
}

} // namespace hub
