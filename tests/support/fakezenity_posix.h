#pragma once
// A stand-in zenity first on PATH, with a display announced, for the tests of the dialogs.
// It writes its arguments one per line and ends with $FAKE_ZENITY_STATUS (0 by default),
// or sleeps $FAKE_ZENITY_SLEEP seconds instead. Everything it changes is put back.
#include <filesystem>
#include <string>
#include <vector>

namespace testenv {

// Saves an environment variable and puts it back.
class savedVariable {
public:
    explicit savedVariable(const char* name);
    ~savedVariable();
    savedVariable(const savedVariable&) = delete;
    savedVariable& operator=(const savedVariable&) = delete;

private:
    const char* name_;
    bool had_ = false;
    std::string value_;
};

class fakeZenity {
public:
    fakeZenity();
    ~fakeZenity();
    fakeZenity(const fakeZenity&) = delete;
    fakeZenity& operator=(const fakeZenity&) = delete;

    bool ready() const { return !folder_.empty(); }
    const std::filesystem::path& folder() const { return folder_; }
    // The arguments of the latest run; empty when none ran.
    std::vector<std::string> arguments() const;
    // Takes the stand-in off PATH, leaving no zenity at all.
    void remove();

private:
    savedVariable path_{"PATH"}, display_{"DISPLAY"}, wayland_{"WAYLAND_DISPLAY"}, status_{"FAKE_ZENITY_STATUS"},
        sleep_{"FAKE_ZENITY_SLEEP"};
    std::filesystem::path folder_;
};

} // namespace testenv
