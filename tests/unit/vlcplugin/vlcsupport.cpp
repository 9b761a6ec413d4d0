#include "vlcsupport.h"

#include <atomic>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>

namespace vlctest {
namespace {

std::mutex logLock;
std::vector<std::string> lines;
std::vector<std::string> requests;
std::atomic<int> regAnswer{1};
std::atomic<int> scratchCount{0};

std::string bytesOf(const char16_t* text)
{
    return text ? narrow(vcore::str(text)) : std::string();
}

} // namespace

vcore::str text(const fs::path& p)
{
    const std::u16string wide = p.u16string();
    return vcore::str(wide.c_str());
}

std::string narrow(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i)
        out += s[i] < 256 ? char(s[i]) : '?';
    return out;
}

scratch::scratch(const char* tag)
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("tolvanu-" + std::string(tag) + "-" + std::to_string(stamp) + "-" + std::to_string(scratchCount++));
    fs::create_directories(path_);
}

scratch::~scratch()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeFile(const fs::path& p, const std::string& bytes)
{
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

int TOLVANU_STDCALL hostCallback(const char16_t* command, const char16_t* argument)
{
    const std::string what = bytesOf(command);
    std::lock_guard<std::mutex> hold(logLock);
    if (what == "log") {
        lines.push_back(bytesOf(argument));
        return 1;
    }
    if (what == "reg_get") {
        requests.push_back(bytesOf(argument));
        return regAnswer;
    }
    return 0;
}

void setRegAnswer(int answer)
{
    regAnswer = answer;
}

std::vector<std::string> logLines()
{
    std::lock_guard<std::mutex> hold(logLock);
    return lines;
}

std::vector<std::string> regRequests()
{
    std::lock_guard<std::mutex> hold(logLock);
    return requests;
}

void clearLog()
{
    std::lock_guard<std::mutex> hold(logLock);
    lines.clear();
    requests.clear();
}

bool logHas(const std::string& line)
{
    std::lock_guard<std::mutex> hold(logLock);
    for (const std::string& l : lines)
        if (l == line)
            return true;
    return false;
}

bool waitForLog(const std::string& line, std::chrono::milliseconds limit)
{
    return nettest::waitUntil([&] { return logHas(line); }, limit);
}

namespace {

bool appears(const std::function<bool(const std::string&)>& match, size_t from, std::chrono::milliseconds limit)
{
    return nettest::waitUntil([&] {
        std::lock_guard<std::mutex> hold(logLock);
        for (size_t i = from; i < lines.size(); ++i)
            if (match(lines[i]))
                return true;
        return false;
    }, limit);
}

} // namespace

bool logAppears(const std::string& line, size_t from, std::chrono::milliseconds limit)
{
    return appears([&](const std::string& l) { return l == line; }, from, limit);
}

bool logAppearsStartingWith(const std::string& prefix, size_t from, std::chrono::milliseconds limit)
{
    return appears([&](const std::string& l) { return l.rfind(prefix, 0) == 0; }, from, limit);
}

std::vector<std::string> logStartingWith(const std::string& prefix)
{
    std::lock_guard<std::mutex> hold(logLock);
    std::vector<std::string> found;
    for (const std::string& l : lines)
        if (l.rfind(prefix, 0) == 0)
            found.push_back(l);
    return found;
}

} // namespace vlctest
