#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "plugins/common/pluginabi.h"
#include "vcore/lib.h"
#include "vcore/str.h"

// One loaded plug-in library: its four entry points, its service name and its state in the hub.
// Destroying it unloads the library without calling into it.
class ravPlugin : public vcore::lib {
public:
    ravPlugin();
    ~ravPlugin() override;

    // Looks up the four entry points and clears busy; false when any is missing.
    bool bind();
    // Hands the name buffer and callback to the library; stores and returns the order key.
    int init(HostCallback callback);
    // Cuts the name init wrote at its first '.' into class and instance.
    void splitName();
    // After a refused bind or init: close with whatever the buffer holds, unload, forget all.
    void release();

    // The library's answers; each leaves busy as the answer says. 0 without the entry point.
    int connect(const char16_t* className);
    int close(const char16_t* className);
    bool canConnect() const { return connect_ != nullptr; }
    bool canClose() const { return close_ != nullptr; }

    const char16_t* className() const { return nameBuffer_.get(); }
    const vcore::str& instanceName() const { return instanceName_; }
    int orderKey() const { return orderKey_; }
    bool busy() const { return busy_; }
    void setBusy(bool on) { busy_ = on; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }

private:
    // The buffer init writes into; one unit more than promised, and always terminated after.
    std::unique_ptr<char16_t[]> nameBuffer_;
    vcore::str instanceName_;
    std::atomic<bool> busy_{false};
    std::atomic<bool> enabled_{true};
    int orderKey_ = 0;
    TolvanuInitProc init_ = nullptr;
    TolvanuSearchProc search_ = nullptr;
    TolvanuConnectProc connect_ = nullptr;
    TolvanuCloseProc close_ = nullptr;
};
