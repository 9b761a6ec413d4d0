// The system service's intake: client texts (UTF-8, decoded as the port does) with and without
// a session, quiet ticks between them. No text presses keys beyond the step bound, and nothing
// acts on the PC before a session opens. Volumes out of range pass: the device refuses them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "plugins/system/machine.h"
#include "plugins/system/outlet.h"
#include "plugins/system/systemservice.h"
#include "vcore/semaphore.h"

namespace {

using fuzzcheck::require;
using namespace systemctl;

class countingMachine : public machine {
public:
    explicit countingMachine(FuzzedDataProvider& in) : in_(in) {}
    int64_t actions = 0;
    int64_t keys = 0;
    float level = 0.5f;

    void key(uint16_t, bool, bool) override { ++keys, ++actions; }
    void moveMouse(int32_t, int32_t) override { ++actions; }
    void button(mouseButton, bool) override { ++actions; }
    void wheel(int32_t) override { ++actions; }
    void beep() override { ++actions; }
    bool readVolume(float& scalar) override
    {
        scalar = level;
        return in_.ConsumeIntegralInRange(0, 15) != 0;
    }
    bool writeVolume(float scalar) override
    {
        ++actions;
        level = scalar;
        return true;
    }
    windowId foregroundWindow() override { return in_.ConsumeIntegralInRange<windowId>(0, 3); }
    bool windowExists(windowId) override { return in_.ConsumeBool(); }
    void maximise(windowId) override { ++actions; }
    void restore(windowId) override { ++actions; }
    vcore::str caption(windowId, int32_t maxUnits) override
    {
        return fuzzcheck::widened(in_.ConsumeRandomLengthString(size_t(maxUnits)));
    }
    void pause(uint32_t) override {}

private:
    FuzzedDataProvider& in_;
};

class quietOutlet : public outlet {
public:
    void report(const vcore::str&, bool) override {}
    void log(const vcore::str&) override {}
    bool isThisHost(const vcore::str& address) override { return address.equals(u"10.66.0.1"); }
    vcore::str computerName() override { return vcore::str(u"DESK"); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    countingMachine pc(in);
    quietOutlet out;
    vcore::semaphore lock;
    systemService service(pc, out, lock);
    const vcore::str from(u"10.66.0.2");
    bool open = false;
    for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 15)) {
        case 0: service.poll(); continue;
        case 1: service.connect(); open = true; continue;
        case 2: service.close(); open = false; continue;
        default: break;
        }
        const vcore::str text = fuzzcheck::decoded(in.ConsumeRandomLengthString(512));
        const int64_t actions = pc.actions, keys = pc.keys;
        service.handle(text, from);
        require(open || pc.actions == actions, "a text acted on the PC without a session",
                fuzzcheck::narrowed(text));
        require(pc.keys - keys <= 2 * systemService::maxStepPresses, "one text pressed too many keys",
                fuzzcheck::narrowed(text));
    }
    return 0;
}
