#include "probe.h"

#include <functional>
#include <thread>

namespace frametest {
namespace {

std::mutex timelineLock;
std::vector<std::string> entries;

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return done();
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

} // namespace

std::string narrow(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i)
        out += s[i] < 256 ? char(s[i]) : '#';
    return out;
}

std::vector<std::string> timeline()
{
    std::lock_guard<std::mutex> hold(timelineLock);
    return entries;
}

void clearTimeline()
{
    std::lock_guard<std::mutex> hold(timelineLock);
    entries.clear();
}

void note(const std::string& entry)
{
    std::lock_guard<std::mutex> hold(timelineLock);
    entries.push_back(entry);
}

std::vector<std::string> logLines()
{
    std::vector<std::string> out;
    for (const std::string& entry : timeline())
        if (entry.rfind("log:", 0) == 0)
            out.push_back(entry.substr(4));
    return out;
}

bool waitForLog(const std::string& line, std::chrono::milliseconds limit)
{
    return waitFor([&] {
        for (const std::string& seen : logLines())
            if (seen == line)
                return true;
        return false;
    }, limit);
}

bool anyLogStartingWith(const std::string& prefix)
{
    for (const std::string& seen : logLines())
        if (seen.rfind(prefix, 0) == 0)
            return true;
    return false;
}

int TOLVANU_STDCALL recordingCallback(const char16_t* command, const char16_t* argument)
{
    if (vcore::str(command) == u"log")
        note("log:" + narrow(vcore::str(argument)));
    return 1;
}

bool probeSession::present()
{
    frametest::note("present");
    return reachable;
}

bool probeSession::open(const char16_t* address)
{
    frametest::note("open");
    return session::open(address);
}

bool probeSession::dispatch(const vcore::str& name, const vcore::str& argument)
{
    std::lock_guard<std::mutex> hold(lock_);
    commands_.emplace_back(narrow(name), narrow(argument));
    return true;
}

std::vector<std::pair<std::string, std::string>> probeSession::commands() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return commands_;
}

bool probeSession::waitForCommands(size_t count, std::chrono::milliseconds limit) const
{
    return waitFor([&] { return commands().size() >= count; }, limit);
}

} // namespace frametest
