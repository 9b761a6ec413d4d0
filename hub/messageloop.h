#pragma once
#include <cstdint>

// The main thread's message loop: Windows messages; on Linux a wait for quit() or a stop signal.
namespace hub {

class messageloop {
public:
    // On Linux SIGINT, SIGTERM and SIGHUP end run() from now on, instead of the process, so the
    // hub still shuts down in order and keeps its settings.
    messageloop();
    ~messageloop();
    messageloop(const messageloop&) = delete;
    messageloop& operator=(const messageloop&) = delete;

    // Until quit() (or on Windows the quit message).
    void run();
    // From any thread.
    static void quit();
    // Dispatches what is already queued, for at most ms milliseconds.
    static void dispatchPending(uint32_t ms);
};

} // namespace hub
