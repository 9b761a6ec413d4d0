#include "hub/desktopentry_posix.h"

namespace hub::desktopentry {

namespace {

// Undoes the escapes of a desktop entry value (\s \n \t \r \\).
std::string unescapeValue(const std::string& value)
{
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const char c = value[++i];
        out += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return out;
}

// The first argument of an Exec command line, quoted or not.
std::string firstArgument(const std::string& command)
{
    std::string out;
    if (command.empty() || command[0] != '"') {
        out = command.substr(0, command.find_first_of(" \t"));
    } else {
        for (size_t i = 1; i < command.size() && command[i] != '"'; ++i)
            out += command[i] == '\\' && i + 1 < command.size() ? command[++i] : command[i];
    }
    // "%%" stands for one '%'.
    std::string program;
    for (size_t i = 0; i < out.size(); ++i) {
        program += out[i];
        if (out[i] == '%' && i + 1 < out.size() && out[i + 1] == '%')
            ++i;
    }
    return program;
}

} // namespace

// Quoted as an Exec argument, then escaped as a desktop entry value.
std::string execValue(const std::string& program)
{
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%')
            quoted += '%';
    }
    quoted += '"';
    std::string value;
    for (char c : quoted)
        value += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : c == '\r' ? "\\r" : std::string(1, c);
    return value;
}

std::string execProgram(const std::string& value) { return firstArgument(unescapeValue(value)); }

} // namespace hub::desktopentry
