#include "support.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "hub/host/pluginhost.h"

namespace hosttest {

fs::path testPlugins()
{
    return programFolder().parent_path() / "testplugins";
}

fs::path oddLibrary(const std::string& tag)
{
    return testPlugins() / "odd" / ("odd_" + tag + TOLVANU_LIBRARY_SUFFIX);
}

vcore::str text(const fs::path& p)
{
    std::u16string wide = p.u16string();
    return vcore::str(wide.c_str());
}

std::string narrow(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i)
        out += s[i] < 128 ? char(s[i]) : '?';
    return out;
}

namespace {

std::atomic<int> scratchCount{0};

} // namespace

scratch::scratch()
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("tolvanu-host-" + std::to_string(stamp) + "-" + std::to_string(scratchCount++));
    fs::create_directories(path_);
}

scratch::~scratch()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void scratch::addOdd(const std::vector<std::string>& tags) const
{
    for (const std::string& tag : tags) {
        const fs::path from = oddLibrary(tag);
        fs::copy_file(from, path_ / from.filename());
    }
}

void scratch::addOdd(const std::string& tag, const std::string& stem) const
{
    fs::copy_file(oddLibrary(tag), path_ / (stem + TOLVANU_LIBRARY_SUFFIX));
}

void scratch::put(const char* name, const std::string& bytes) const
{
    std::ofstream(path_ / name, std::ios::binary) << bytes;
}

oddTrace::oddTrace() : file_(folder_.path() / "trace.txt")
{
    setEnvironment("TOLVANU_ODD_TRACE", file_.string());
}

oddTrace::~oddTrace()
{
    setEnvironment("TOLVANU_ODD_TRACE", "");
}

std::vector<std::string> oddTrace::lines() const
{
    std::ifstream in(file_);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

recorder::recorder(PluginHost& host, int regGetHandlers)
{
    host.addHandler(u"log", this, &recorder::log);
    host.addHandler(u"ip", this, &recorder::ip);
    if (regGetHandlers > 0)
        host.addHandler(u"reg_get", this, &recorder::regGet);
    if (regGetHandlers > 1)
        host.addHandler(u"reg_get", this, &recorder::regGetAgain);
}

void recorder::add(const char* kind, void* argument)
{
    const auto* line = static_cast<const vcore::str*>(argument);
    {
        std::lock_guard<std::mutex> hold(lock_);
        seen_.emplace_back(kind, line ? narrow(*line) : std::string("(none)"));
    }
    changed_.notify_all();
}

std::vector<std::string> recorder::lines(const std::string& kind) const
{
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::string> out;
    for (const auto& [k, line] : seen_)
        if (k == kind)
            out.push_back(line);
    return out;
}

bool recorder::contains(const std::string& kind, const std::string& line) const
{
    for (const std::string& seen : lines(kind))
        if (seen == line)
            return true;
    return false;
}

bool recorder::waitFor(const std::string& kind, const std::function<bool(const std::string&)>& match,
                       std::chrono::milliseconds limit) const
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, limit, [&] {
        for (const auto& [k, line] : seen_)
            if (k == kind && match(line))
                return true;
        return false;
    });
}

bool recorder::waitForLine(const std::string& kind, const std::string& line,
                           std::chrono::milliseconds limit) const
{
    return waitFor(kind, [&](const std::string& seen) { return seen == line; }, limit);
}

} // namespace hosttest
