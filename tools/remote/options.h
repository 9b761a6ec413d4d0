#pragma once
#include <cstdint>
#include <vector>

#include "vcore/str.h"

namespace remote {

enum class verb { discover, open, close, send, session, help };

// What the command line asks for.
struct options {
    verb action = verb::session;
    std::vector<vcore::str> classes;  // the service classes; one for all but discover
    vcore::str command;               // send: the words joined by single spaces
    vcore::str name;                  // display name; empty: the computer's name
    vcore::str hub;                   // dotted address of the one hub to open at; empty: any
    uint32_t timeoutMs = 3000;        // for hubs to answer and for "connect"
    uint32_t waitMs = 1000;           // how long reports are awaited after the last command
    bool verbose = false;             // the protocol's log lines on stderr
};

// The parse result: options, or the reason the command line is wrong.
struct parsed {
    options value;
    vcore::str error;  // empty when the command line is usable
    bool ok() const { return error.empty(); }
};

// args without the program name.
parsed parseOptions(const std::vector<vcore::str>& args);

// The text of --help.
const char* usageText();

} // namespace remote
