#pragma once

// A terminal switched to single keys (no line editing, no echo; Ctrl-C and Ctrl-Z still signal),
// put back as it was on leave(), on a fatal signal and while the process is stopped (Ctrl-Z).
// One at a time per process: the signal handlers share its saved mode.
namespace hub {

class rawterminal {
public:
    rawterminal() = default;
    ~rawterminal() { leave(); }
    rawterminal(const rawterminal&) = delete;
    rawterminal& operator=(const rawterminal&) = delete;

    // False when fd is not a terminal or another rawterminal is in use.
    bool enter(int fd);
    // The terminal as it was, for a while (a question typed as a line), and back to single keys.
    void suspend();
    void resume();
    void leave();

private:
    bool entered_ = false;
};

} // namespace hub
