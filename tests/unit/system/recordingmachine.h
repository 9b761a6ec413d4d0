#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "plugins/system/machine.h"
#include "plugins/system/outlet.h"

// A machine and an outlet that write down every call as a short line, for tests of the logic.
namespace systemtest {

class recordingMachine : public systemctl::machine {
public:
    void key(uint16_t scanCode, bool extended, bool up) override;
    void moveMouse(int32_t dx, int32_t dy) override;
    void button(systemctl::mouseButton which, bool down) override;
    void wheel(int32_t data) override;
    void beep() override;
    bool readVolume(float& scalar) override;
    bool writeVolume(float scalar) override;
    systemctl::windowId foregroundWindow() override;
    bool windowExists(systemctl::windowId window) override;
    void maximise(systemctl::windowId window) override;
    void restore(systemctl::windowId window) override;
    vcore::str caption(systemctl::windowId window, int32_t maxUnits) override;
    void pause(uint32_t ms) override;

    // The calls so far, for a test thread while a worker drives the machine.
    std::vector<std::string> snapshot() const;

    std::vector<std::string> calls;
    // The device: absent, or at this scalar.
    bool hasDevice = true;
    // A test may change it "from outside" while the port's worker reads it.
    std::atomic<float> volume{0.5f};
    systemctl::windowId front = 0;
    std::vector<systemctl::windowId> closedWindows;

private:
    void note(std::string call);
    mutable std::mutex lock_;
};

class recordingOutlet : public systemctl::outlet {
public:
    void report(const vcore::str& text, bool logged) override;
    void log(const vcore::str& line) override;
    bool isThisHost(const vcore::str& address) override;
    vcore::str computerName() override { return vcore::str(u"DESK"); }

    std::vector<std::string> reports;
    std::vector<std::string> logs;
    std::string thisHost = "10.0.0.5";
};

std::string narrowed(const vcore::str& text);

} // namespace systemtest
