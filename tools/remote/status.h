#pragma once

namespace remote {

// The program's exit statuses.
enum class status : int {
    done = 0,
    noHub = 1,    // nobody answered the search
    usage = 2,    // the command line is wrong
    refused = 3,  // a hub was found but "open" got no "connect"
    failure = 4,  // something on this computer: a port, the settings
};

} // namespace remote
