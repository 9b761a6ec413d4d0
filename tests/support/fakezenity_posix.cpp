#include "tests/support/fakezenity_posix.h"

#include <stdlib.h>

#include <cstdlib>
#include <fstream>

namespace testenv {

namespace fs = std::filesystem;

savedVariable::savedVariable(const char* name) : name_(name)
{
    const char* value = std::getenv(name);
    had_ = value != nullptr;
    value_ = value ? value : "";
}

savedVariable::~savedVariable()
{
    if (had_)
        setenv(name_, value_.c_str(), 1);
    else
        unsetenv(name_);
}

fakeZenity::fakeZenity()
{
    std::string pattern = (fs::temp_directory_path() / "tolvanu-zenity-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return;
    folder_ = pattern;
    fs::create_directory(folder_ / "bin");
    std::ofstream(folder_ / "bin" / "zenity") << "#!/bin/sh\n"
                                                 "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                                              << (folder_ / "args").string()
                                              << "\"\n"
                                                 "[ -n \"$FAKE_ZENITY_SLEEP\" ] && exec sleep \"$FAKE_ZENITY_SLEEP\"\n"
                                                 "exit \"${FAKE_ZENITY_STATUS:-0}\"\n";
    fs::permissions(folder_ / "bin" / "zenity", fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    setenv("PATH", ((folder_ / "bin").string() + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
    setenv("DISPLAY", ":99", 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("FAKE_ZENITY_STATUS");
    unsetenv("FAKE_ZENITY_SLEEP");
}

fakeZenity::~fakeZenity()
{
    std::error_code ignored;
    if (!folder_.empty())
        fs::remove_all(folder_, ignored);
}

std::vector<std::string> fakeZenity::arguments() const
{
    std::ifstream in(folder_ / "args");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void fakeZenity::remove()
{
    setenv("PATH", (folder_ / "empty").string().c_str(), 1);
}

} // namespace testenv
