#pragma once
#include <cstdint>
#include <memory>

#include "plugins/common/session.h"
#include "plugins/system/machine.h"
#include "plugins/system/outlet.h"
#include "plugins/system/systemservice.h"

// The system plug-in's session: serves "system" on UDP port 26001, open from load to unload,
// and acts on this PC for the client the hub let in.
class Tolvanu_system : public plugin::session, private systemctl::outlet {
public:
    static constexpr uint32_t servicePort = 26001;
    static constexpr uint32_t pollMs = 1000;
    static constexpr int initAnswer = 256;

    // When the port's worker begins to serve: at once, or at the host's first call. A
    // library's load holds the loader lock, which a thread made there cannot begin under.
    enum class workerStart { now, atFirstCall };

    // pc: the machine to drive; the platform's own when none is given.
    explicit Tolvanu_system(std::unique_ptr<systemctl::machine> pc = nullptr,
                            workerStart start = workerStart::now);
    ~Tolvanu_system() override;

    bool prepare() override;
    bool present() override;
    uint32_t connectSession() override;
    void closeSession() override;

    bool onData(vcore::ioport* port) override;
    bool onTimeOut(vcore::ioport* port) override;

    const systemctl::systemService& service() const { return service_; }

protected:
    uint32_t pollPeriod() const override { return pollMs; }
    uint32_t sessionPortNumber() const override { return servicePort; }
    bool dispatch(const vcore::str&, const vcore::str&) override { return false; }

private:
    void report(const vcore::str& text, bool logged) override;
    void log(const vcore::str& line) override;
    bool isThisHost(const vcore::str& address) override;
    vcore::str computerName() override;

    void openPort(workerStart start);
    // On the worker: a port with nothing to poll does not wake once a second.
    void pace();
    void prepareWorker() override { pc_->prepare(); }

    std::unique_ptr<systemctl::machine> pc_;
    systemctl::systemService service_;
};
