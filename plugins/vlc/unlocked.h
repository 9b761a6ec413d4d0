#pragma once
#include <mutex>

// Lets go of a mutex the caller holds for the length of a scope, then takes it back: for the
// waits during which the other thread must be able to change the state it guards.
namespace vlc {

class unlocked {
public:
    explicit unlocked(std::mutex& held) : held_(held) { held_.unlock(); }
    ~unlocked() { held_.lock(); }
    unlocked(const unlocked&) = delete;
    unlocked& operator=(const unlocked&) = delete;

private:
    std::mutex& held_;
};

} // namespace vlc
