#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <utility>

#include "vwin/winthread.h"

// A winthread whose run is a function; like every derived class it ends its threads in
// its own destructor.
class worker : public vwin::winthread {
public:
    explicit worker(std::function<void(worker&)> body) : body_(std::move(body)) {}
    ~worker() override { shutdown(2000); }

protected:
    void run() override { body_(*this); }

private:
    std::function<void(worker&)> body_;
};

// Polls until done() or about ms passed.
template <class Done>
bool eventually(Done done, int ms = 5000)
{
    for (int waited = 0; !done(); waited += 5) {
        if (waited >= ms)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Sets flag when the scope ends, so that a failed assertion leaves no run stuck for good.
// Declared after the worker, so that it acts before the worker's destructor.
struct releaseOnExit {
    std::atomic<bool>& flag;
    ~releaseOnExit() { flag = true; }
};
