#pragma once
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include "vcore/str.h"

namespace hub {

// Log lines on their way to the terminal, held back while a question waits there for its
// answer, so that none lands inside the question; they follow it in their order.
class linegate {
public:
    using printer = std::function<void(const vcore::str&)>;
    // Told, under the gate's lock, when a question takes the terminal (true) and gives it back.
    using watcher = std::function<void(bool questionOpen)>;
    // The ring keeps every line; the terminal gets the newest this many after a long question.
    static constexpr size_t maxHeld = 256;

    explicit linegate(printer print);

    // Prints line now, or after the question when one waits.
    void line(const vcore::str& text);
    // Runs show (which puts the question on the terminal) with the terminal to itself; lines
    // are held back from then on until release().
    void hold(const std::function<void()>& show);
    // Prints the lines held back, on the calling thread.
    void release();
    // One watcher at a time, told at once when a question waits now; an empty one ends the watch.
    void watch(watcher questionTurn);

private:
    printer print_;
    std::mutex lock_;  // held while printing, so lines and the question never mix
    watcher watch_;
    bool held_ = false;
    std::deque<vcore::str> waiting_;
};

} // namespace hub
