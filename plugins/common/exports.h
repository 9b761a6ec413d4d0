#pragma once
#include <cstdint>

#include "plugins/common/pluginabi.h"
#include "plugins/common/session.h"

namespace plugin {

// What the four exports of one plug-in do, over its session.
class exports {
public:
    struct options {
        int orderKey = 1;               // init's answer: the hub orders its list by it
        bool callbackRequired = false;  // init refuses a null callback
    };

    explicit exports(session& s) : exports(s, options{}) {}
    exports(session& s, options o) : session_(s), options_(o) {}

    int init(char16_t* nameBuffer, HostCallback callback) const;
    int search(const char16_t* name) const;
    int connect(const char16_t* name) const;
    int close(const char16_t* name) const;

private:
    session& session_;
    options options_;
};

} // namespace plugin

// Defines the four entry points of a plug-in over its plugin::exports object.
#define TOLVANU_PLUGIN_EXPORTS(rules)                                                             \
    extern "C" {                                                                                  \
    TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_init(char16_t* nameBuffer, HostCallback callback)   \
    {                                                                                             \
        return (rules).init(nameBuffer, callback);                                                \
    }                                                                                             \
    TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_search(const char16_t* name) { return (rules).search(name); } \
    TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_connect(const char16_t* name) { return (rules).connect(name); } \
    TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_close(const char16_t* name) { return (rules).close(name); } \
    }
