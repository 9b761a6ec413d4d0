#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "hub/host/ravplugin.h"
#include "vcore/str.h"
#include "vcore/vobject.h"

// The hub's plug-ins: finds and loads them, keeps them ordered, routes sessions to them, and
// raises "log", "ip" and "reg_get" (argument: a vcore::str*) for them. One per process.
class PluginHost : public vcore::vObject {
public:
    PluginHost();
    ~PluginHost() override;  // releases the plug-ins, last first

    // Loads the plug-ins beside the program file at programPath and keeps its version text.
    int32_t loadAll(const vcore::str& programPath, const vcore::str& version);
    // Loads every plug-in library of folder; returns how many were taken.
    int32_t loadFolder(const vcore::str& folder);

    // Asks the enabled plug-ins in order; the first port given, or 0.
    int connect(const char16_t* className);
    // Tells every plug-in that the class closed; without a class, each its own.
    void close(const char16_t* className = nullptr);
    // Closes one plug-in's session, with its own class name.
    void closeOne(ravPlugin& plugin);
    // Switching off a busy plug-in closes its session.
    void setEnabled(ravPlugin& plugin, bool on);
    // An address report ("<name> <address>"): plug-ins whose instance is the first word are busy.
    void addressReport(const vcore::str& report);
    // Deletes the plug-ins, last in the list first.
    void releaseAll();

    int32_t count() const { return int32_t(plugins_.size()); }
    ravPlugin& plugin(int32_t index) { return *plugins_[size_t(index)]; }
    // The distinct service classes, in the order they were first loaded.
    const std::vector<vcore::str>& classes() const { return classes_; }
    const vcore::str& version() const { return version_; }

private:
    bool loadOne(const vcore::str& path, const vcore::str& fileName);
    void insert(std::unique_ptr<ravPlugin> plugin);
    void addClass(const char16_t* className);

    std::vector<std::unique_ptr<ravPlugin>> plugins_;
    std::vector<vcore::str> classes_;
    vcore::str version_;
};
