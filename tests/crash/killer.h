#pragma once
#include <chrono>
#include <functional>
#include <optional>
#include <random>

// Runs a write in a child process and ends it with SIGKILL at a random moment of it.
namespace crash {

enum class ending { killed, finished, failed };

class killer {
public:
    explicit killer(unsigned seed) : random_(seed) {}

    // Runs write to its end in a child; its length, or nothing when it failed.
    static std::optional<std::chrono::nanoseconds> timeWhole(const std::function<bool()>& write);
    // The length of a whole write (a median of timeWhole) to begin with.
    void setWindow(std::chrono::nanoseconds window) { window_ = window; }
    // Starts write in a child and kills it after a random delay within the window (and half as
    // long again, so that some writes finish); the window follows how long writes now take.
    // failed: the child reported failure or died of something else.
    ending strike(const std::function<bool()>& write);
    std::chrono::nanoseconds window() const { return window_; }

private:
    std::mt19937_64 random_;
    std::chrono::nanoseconds window_{0};
};

} // namespace crash
