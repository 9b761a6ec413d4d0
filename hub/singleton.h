#pragma once
#include <cstdint>

// The marker of the running copy of the hub, held for the object's life: the named event
// "Tolvanu_singleton" on Windows, an flock on tolvanu.lock on Linux.
namespace hub {

class singleton {
public:
    singleton();
    ~singleton();
    singleton(const singleton&) = delete;
    singleton& operator=(const singleton&) = delete;

    // False when another copy holds the marker.
    bool first() const { return first_; }

private:
    intptr_t handle_ = -1;
    bool first_ = true;
};

} // namespace hub
