#include "recordingmachine.h"

#include <algorithm>
#include <cstdio>

namespace systemtest {

std::string narrowed(const vcore::str& text)
{
    vcore::str copy(text);
    return std::string(copy.narrow(), size_t(copy.length()));
}

namespace {

std::string line(const char* fmt, long long a = 0, long long b = 0)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, fmt, a, b);
    return buffer;
}

} // namespace

void recordingMachine::note(std::string call)
{
    std::lock_guard<std::mutex> hold(lock_);
    calls.push_back(std::move(call));
}

std::vector<std::string> recordingMachine::snapshot() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return calls;
}

void recordingMachine::key(uint16_t scanCode, bool extended, bool up)
{
    note(line(up ? "up %llX" : "down %llX", scanCode) + (extended ? " ext" : ""));
}

void recordingMachine::moveMouse(int32_t dx, int32_t dy)
{
    note(line("move %lld %lld", dx, dy));
}

void recordingMachine::button(systemctl::mouseButton which, bool down)
{
    static const char* names[] = {"left", "right", "middle"};
    note(std::string(names[int(which)]) + (down ? " down" : " up"));
}

void recordingMachine::wheel(int32_t data)
{
    note(line("wheel %lld", data));
}

void recordingMachine::beep()
{
    note("beep");
}

bool recordingMachine::readVolume(float& scalar)
{
    scalar = volume;
    return hasDevice;
}

bool recordingMachine::writeVolume(float scalar)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "volume %.3f", double(scalar));
    // Set before the call is noted: a test that waits for the note then owns the value.
    const bool taken = hasDevice && scalar >= 0.0f && scalar <= 1.0f;
    if (taken)
        volume = scalar;
    note(buffer);
    return taken;
}

systemctl::windowId recordingMachine::foregroundWindow()
{
    return front;
}

bool recordingMachine::windowExists(systemctl::windowId window)
{
    return std::find(closedWindows.begin(), closedWindows.end(), window) == closedWindows.end();
}

void recordingMachine::maximise(systemctl::windowId window)
{
    note(line("maximise %lld", (long long)window));
}

void recordingMachine::restore(systemctl::windowId window)
{
    note(line("restore %lld", (long long)window));
}

vcore::str recordingMachine::caption(systemctl::windowId window, int32_t maxUnits)
{
    note(line("caption %lld %lld", (long long)window, maxUnits));
    return vcore::str::formatted(u"Window %d", int(window));
}

void recordingMachine::pause(uint32_t ms)
{
    note(line("pause %lld", ms));
}

void recordingOutlet::report(const vcore::str& text, bool logged)
{
    reports.push_back(narrowed(text) + (logged ? " (logged)" : ""));
}

void recordingOutlet::log(const vcore::str& line)
{
    logs.push_back(narrowed(line));
}

bool recordingOutlet::isThisHost(const vcore::str& address)
{
    return narrowed(address) == thisHost;
}

} // namespace systemtest
