#pragma once
// The boundary between the hub and a plug-in library: the callback the hub hands over and the
// four entry points every plug-in exports. Texts are NUL-terminated UTF-16; nothing allocated
// on one side is ever freed on the other.

#if defined(_WIN32)
#define TOLVANU_STDCALL __stdcall
#define TOLVANU_CDECL __cdecl
// Windows plug-ins name their exports in a .def file, so the names stay undecorated.
#define TOLVANU_EXPORT
#else
#define TOLVANU_STDCALL
#define TOLVANU_CDECL
// Plug-ins build with hidden visibility; only the entry points are seen from outside.
#define TOLVANU_EXPORT __attribute__((visibility("default")))
#endif

// The hub's callback: command ("log", "ip", "reg_get") and argument; either may be null.
typedef int(TOLVANU_STDCALL* HostCallback)(const char16_t* command, const char16_t* argument);

// Room of the name buffer the hub hands to Tolvanu_init, terminator included.
constexpr int tolvanuNameRoom = 256;

extern "C" {

// Writes the service name ("media.VLC") into nameBuffer; 0 refuses, else the order key.
typedef int(TOLVANU_CDECL* TolvanuInitProc)(char16_t* nameBuffer, HostCallback callback);
// 1 when name is this service and its player can be reached now.
typedef int(TOLVANU_CDECL* TolvanuSearchProc)(const char16_t* name);
// The port on which the session now waits for the client, or 0.
typedef int(TOLVANU_CDECL* TolvanuConnectProc)(const char16_t* name);
// Non-zero when the plug-in took the close (it is no longer busy).
typedef int(TOLVANU_CDECL* TolvanuCloseProc)(const char16_t* name);

TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_init(char16_t* nameBuffer, HostCallback callback);
TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_search(const char16_t* name);
TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_connect(const char16_t* name);
TOLVANU_EXPORT int TOLVANU_CDECL Tolvanu_close(const char16_t* name);

}
