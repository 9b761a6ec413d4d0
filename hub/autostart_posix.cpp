#include "hub/autostart.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "hub/desktopentry_posix.h"
#include "hub/programfile.h"
#include "vcore/nativepath.h"
#include "vcore/xdgdirs_posix.h"

namespace hub {

const char16_t* const programFileName = u"tolvanu";

namespace {

std::string entryFolder() { return vcore::xdg::configHome() + "/autostart"; }
std::string entryPath() { return entryFolder() + "/tolvanu.desktop"; }

bool writeEntry(const std::string& text)
{
    mkdir(vcore::xdg::configHome().c_str(), 0700);
    mkdir(entryFolder().c_str(), 0700);
    std::string temporary = entryPath() + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = fchmod(fd, 0644) == 0 && write(fd, text.data(), text.size()) == ssize_t(text.size()) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), entryPath().c_str()) == 0;
    if (!ok)
        unlink(temporary.c_str());
    return ok;
}

} // namespace

vcore::str autostartProgram()
{
    std::ifstream entry(entryPath());
    std::string line;
    std::string program;
    bool inMainGroup = false;
    bool hidden = false;
    while (std::getline(entry, line)) {
        if (!line.empty() && line[0] == '[')
            inMainGroup = line == "[Desktop Entry]";
        else if (inMainGroup && line.rfind("Exec=", 0) == 0)
            program = desktopentry::execProgram(line.substr(5));
        else if (inMainGroup && line == "Hidden=true")
            hidden = true;
    }
    return hidden ? vcore::str() : vcore::fromNativePath(program.c_str());
}

void setAutostart(bool on)
{
    const vcore::str path = programPath();
    if (!on) {
        unlink(entryPath().c_str());
        return;
    }
    if (path.empty())
        return;
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Name=Tolvanu\n"
          << "Comment=Remote-control hub\n"
          << "Exec=" << desktopentry::execValue(vcore::toNativePath(path)) << "\n"
          << "Terminal=false\n";
    writeEntry(entry.str());
}

} // namespace hub
