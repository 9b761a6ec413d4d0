#pragma once
#include <chrono>
#include <thread>

// Waits, bounded, until done() holds; whether it did.
template <class F>
bool waitFor(F done, std::chrono::seconds limit = std::chrono::seconds(30))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
