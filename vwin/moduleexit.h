#pragma once
#include <atomic>

#include <windows.h>

namespace vwin {

// For owners of threads that run this module's code: waits, at most a couple of seconds, until
// a thread that has announced its end stands outside this module, so that the module may be
// unmapped. It never waits for the exit itself: a library's unload holds the loader lock, which
// an exiting thread needs. After the announcement the thread may only leave for ExitThread.
// Windows only.
void waitUntilOutOfModule(HANDLE thread, const std::atomic<bool>& announcedEnd);

} // namespace vwin
