#pragma once
#include <filesystem>
#include <string>
#include <vector>

// Real peers of the system service, each a process of the test's own: a PulseAudio server
// with a null sink, an X server with a window manager, and xev's window.
namespace systemreal {

// A child process with its output in a file; ended (TERM, then KILL) with the object.
class child {
public:
    child() = default;
    child(const std::vector<std::string>& argv, const std::filesystem::path& output);
    ~child();
    child(child&& other) noexcept : pid_(other.pid_), output_(other.output_) { other.pid_ = -1; }
    child& operator=(child&& other) noexcept;

    bool running() const { return pid_ > 0; }
    void stop();
    std::string output() const;

private:
    int pid_ = -1;
    std::filesystem::path output_;
};

// What a shell command printed; empty when it failed.
std::string run(const std::string& command);
bool installed(const char* program);

class scratchDir {
public:
    scratchDir();
    ~scratchDir();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// PulseAudio with XDG_RUNTIME_DIR and HOME under folder; the test process takes the same ones.
child startPulse(const std::filesystem::path& folder);
// Xvfb on a free display, and its number; -1 when it did not start.
child startX(const std::filesystem::path& folder, int& display);

} // namespace systemreal
