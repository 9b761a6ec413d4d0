#pragma once
// What the VLC plug-in tests share: the program's folder, scratch folders, the environment,
// and a host callback that keeps the log lines.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "plugins/common/pluginabi.h"
#include "support.h"  // the port tests' helpers: peers, waits, a network of our own
#include "tests/support/programenv.h"
#include "vcore/str.h"

namespace vlctest {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using testenv::programFolder;
using testenv::setEnvironment;
vcore::str text(const fs::path& p);
std::string narrow(const vcore::str& s);

// A fresh folder under the system's temporary folder, removed with its contents.
class scratch {
public:
    explicit scratch(const char* tag = "vlc");
    ~scratch();
    scratch(const scratch&) = delete;
    scratch& operator=(const scratch&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string readFile(const fs::path& p);
void writeFile(const fs::path& p, const std::string& bytes);

// The host's side of the callback: keeps "log" lines, answers "reg_get" with regAnswer().
int TOLVANU_STDCALL hostCallback(const char16_t* command, const char16_t* argument);
void setRegAnswer(int answer);
std::vector<std::string> logLines();
std::vector<std::string> regRequests();
void clearLog();
bool waitForLog(const std::string& line, std::chrono::milliseconds limit = 3000ms);
bool logHas(const std::string& line);
// Whether a log line equal to (or beginning with) text is logged at or after position from
// within limit.
bool logAppears(const std::string& line, size_t from, std::chrono::milliseconds limit = 5000ms);
bool logAppearsStartingWith(const std::string& prefix, size_t from, std::chrono::milliseconds limit = 5000ms);
// Log lines that begin with prefix, in order.
std::vector<std::string> logStartingWith(const std::string& prefix);

} // namespace vlctest
