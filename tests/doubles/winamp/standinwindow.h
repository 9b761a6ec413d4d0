#pragma once
#include <thread>

#include "tests/doubles/winamp/winampmodel.h"

// The model behind a real top-level window of class "Winamp v1.x", on a thread of its own with
// its message loop, so that other threads and processes reach it by SendMessage.
namespace standin {

class standinWindow {
public:
    explicit standinWindow(winampModel& model) : model_(model) {}
    ~standinWindow() { close(); }

    // Creates the window; false when it could not be made.
    bool open();
    // Destroys the window and ends its thread.
    void close();

private:
    void run();

    winampModel& model_;
    std::thread thread_;
    void* window_ = nullptr;
    bool ready_ = false;
};

} // namespace standin
