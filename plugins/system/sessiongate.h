#pragma once
#include <atomic>

// Lets commands that act on the PC through only while a session the hub granted is open,
// and tells when an ignored burst begins so that a flood costs one log line.
namespace systemctl {

class sessionGate {
public:
    // Tolvanu_connect and Tolvanu_close, on the hub's thread.
    void open();
    void close();
    bool isOpen() const { return open_; }

    // A command was turned away; true for the first of a burst.
    bool turnAway();
    // A quiet spell (the port's time-out) ends the burst.
    void endBurst() { bursting_ = false; }
    bool bursting() const { return bursting_; }

private:
    std::atomic<bool> open_{false};
    std::atomic<bool> bursting_{false};
};

} // namespace systemctl
