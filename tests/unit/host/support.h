#pragma once
// What the plug-in host and frame tests share: folders of test libraries, and a recorder of
// the events the host raises.
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/programenv.h"
#include "vcore/str.h"

class PluginHost;

namespace hosttest {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using testenv::programFolder;
// The folder the test plug-in libraries are built into (testplugins/ of the build tree).
fs::path testPlugins();
// testplugins/odd/odd_<tag>.so (or .dll).
fs::path oddLibrary(const std::string& tag);

vcore::str text(const fs::path& p);
std::string narrow(const vcore::str& s);
using testenv::setEnvironment;

// A fresh folder under the system's temporary folder, removed with its contents.
class scratch {
public:
    scratch();
    ~scratch();
    scratch(const scratch&) = delete;
    scratch& operator=(const scratch&) = delete;

    const fs::path& path() const { return path_; }
    vcore::str folder() const { return text(path_); }
    // Copies the odd libraries of these tags in.
    void addOdd(const std::vector<std::string>& tags) const;
    // Copies one in under another name (the suffix is kept); the host lists by name.
    void addOdd(const std::string& tag, const std::string& stem) const;
    void put(const char* name, const std::string& bytes) const;

private:
    fs::path path_;
};

// The lines the odd libraries append to their trace file while it exists.
class oddTrace {
public:
    oddTrace();
    ~oddTrace();
    std::vector<std::string> lines() const;

private:
    scratch folder_;
    fs::path file_;
};

// Subscribes to the host's "log", "ip" and "reg_get" and keeps what they carried.
class recorder {
public:
    explicit recorder(PluginHost& host, int regGetHandlers = 1);

    std::vector<std::string> lines(const std::string& kind) const;
    bool contains(const std::string& kind, const std::string& line) const;
    // Waits until a line of kind satisfies match; false when limit passed first.
    bool waitFor(const std::string& kind, const std::function<bool(const std::string&)>& match,
                 std::chrono::milliseconds limit = 3000ms) const;
    bool waitForLine(const std::string& kind, const std::string& line,
                     std::chrono::milliseconds limit = 3000ms) const;

private:
    void add(const char* kind, void* argument);
    void log(void* argument) { add("log", argument); }
    void ip(void* argument) { add("ip", argument); }
    void regGet(void* argument) { add("reg_get", argument); }
    void regGetAgain(void*) {}

    mutable std::mutex lock_;
    mutable std::condition_variable changed_;
    std::vector<std::pair<std::string, std::string>> seen_;
};

} // namespace hosttest
