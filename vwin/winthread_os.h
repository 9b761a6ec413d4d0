#pragma once
#include <functional>
#include <memory>

namespace vwin {

// The system threads behind one winthread: the current one and, where the system cannot
// end a thread from outside, the stuck ones set aside until they return.
class osthread {
public:
    osthread();
    ~osthread();
    osthread(const osthread&) = delete;
    osthread& operator=(const osthread&) = delete;

    // Runs body on a new current thread (on Windows inside the multithreaded COM apartment),
    // unless claim, the first thing the thread does, answers false.
    bool launch(std::function<bool()> claim, std::function<void()> body);
    bool active() const;
    // The current thread's body has returned: forget the thread.
    void reap();
    // The current thread is stuck: terminate it, or set it aside where that is impossible.
    void abandon();
    // Once the current thread has ended or been abandoned: waits for those set aside.
    void joinAll();
    // The owner is going away on one of these threads: let them all run on unwatched.
    void detachAll();

private:
    struct impl;
    std::unique_ptr<impl> impl_;
};

} // namespace vwin
