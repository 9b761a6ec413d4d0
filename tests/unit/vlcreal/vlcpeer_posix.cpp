#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "vlcpeer.h"

namespace vlcreal {
namespace {

std::atomic<int> homeCount{0};

bool onPath(const char* program)
{
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

struct tune {
    const char* file;
    const char* title;
    int seconds;
    int hertz;
};

constexpr tune tunesToPlay[] = {
    {"alpha.flac", "Alpha Tone", 20, 440},
    {"bravo.flac", "Bravo Tone", 25, 550},
    {"charlie.flac", "Charlie Tone", 30, 660},
};

void giveToVlcUser(const fs::path& path)
{
    if (const passwd* user = getpwnam(vlcUser))
        (void)chown(path.c_str(), user->pw_uid, user->pw_gid);
}

// In the child after fork: become VLC's user in its home, output to the log, then VLC.
[[noreturn]] void becomeVlc(const vlcHome& home, const std::vector<std::string>& arguments)
{
    const passwd* user = getpwnam(vlcUser);
    const int log = open(home.log().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const int none = open("/dev/null", O_RDONLY);
    if (!user || log < 0 || none < 0 || dup2(none, 0) < 0 || dup2(log, 1) < 0 || dup2(log, 2) < 0)
        _exit(120);
    if (setgid(user->pw_gid) != 0 || initgroups(vlcUser, user->pw_gid) != 0 || setuid(user->pw_uid) != 0)
        _exit(121);
    if (chdir(home.home().c_str()) != 0)
        _exit(122);
    const std::string homeVariable = "HOME=" + home.home().string();
    const std::string configVariable = "XDG_CONFIG_HOME=" + home.configHome().string();
    const char* environment[] = {homeVariable.c_str(), configVariable.c_str(), "PATH=/usr/bin:/bin", "LANG=C",
                                 nullptr};
    std::vector<const char*> argv{"cvlc"};
    for (const std::string& a : arguments)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    execve("/usr/bin/cvlc", const_cast<char* const*>(argv.data()), const_cast<char* const*>(environment));
    _exit(127);
}

} // namespace

std::string missingForVlc()
{
    if (geteuid() != 0)
        return "VLC refuses root and the test must start it as another user: run it as root";
    if (!getpwnam(vlcUser))
        return std::string("no user ") + vlcUser + " (scripts/setup creates it)";
    if (access("/usr/bin/cvlc", X_OK) != 0)
        return "cvlc is not installed (vlc-bin, vlc-plugin-base)";
    if (!onPath("sox"))
        return "sox is not installed";
    if (!nettest::broadcastContained())
        return "no network of the test's own for VLC's fixed ports 6637 and 6638";
    return "";
}

vlcHome::vlcHome()
{
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = fs::temp_directory_path() / ("tolvanu-vlcreal-" + std::to_string(stamp) + "-" + std::to_string(homeCount++));
    fs::create_directories(configHome());
    for (const fs::path& p : {root_, home(), root_ / "tunes"})
        fs::create_directories(p);
    fs::permissions(root_, fs::perms(0755));
    // A sound card that takes everything and plays nothing, with VLC's volume kept in software.
    std::ofstream(home() / ".asoundrc") << "pcm.!default { type null }\n";
    for (const fs::path& p : {home(), configHome(), home() / ".asoundrc"})
        giveToVlcUser(p);
}

vlcHome::~vlcHome()
{
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

bool vlcHome::makeTunes()
{
    for (const tune& t : tunesToPlay) {
        const fs::path file = root_ / "tunes" / t.file;
        const std::string command = "sox -n -r 8000 --comment 'TITLE=" + std::string(t.title) + "' '" +
                                    file.string() + "' synth " + std::to_string(t.seconds) + " sine " +
                                    std::to_string(t.hertz) + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return false;
        fs::permissions(file, fs::perms(0644));
    }
    fs::permissions(root_ / "tunes", fs::perms(0755));
    return true;
}

std::vector<std::string> vlcHome::tunes() const
{
    std::vector<std::string> files;
    for (const tune& t : tunesToPlay)
        files.push_back((root_ / "tunes" / t.file).string());
    return files;
}

bool vlcHome::letVlcWriteItsConfig()
{
    vlcProcess vlc;
    return vlc.start(*this, {"--reset-config", "vlc://quit"}) && vlc.waitForExit(20000ms) && fs::exists(vlcrc());
}

std::vector<std::string> playing(const vlcHome& home)
{
    std::vector<std::string> arguments{"--aout", "alsa", "--vout", "dummy", "--control", "luaintf", "--lua-intf",
                                       "cli", "--lua-config",
                                       "cli={host='127.0.0.1:" + std::to_string(consolePort) + "'}"};
    for (const std::string& file : home.tunes())
        arguments.push_back(file);
    return arguments;
}

bool vlcProcess::start(const vlcHome& home, const std::vector<std::string>& arguments)
{
    stop();
    const pid_t child = fork();
    if (child == 0)
        becomeVlc(home, arguments);
    pid_ = child;
    return child > 0;
}

bool vlcProcess::waitForExit(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return true;
        }
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void vlcProcess::freeze()
{
    if (pid_ > 0)
        ::kill(pid_, SIGSTOP);
}

void vlcProcess::thaw()
{
    if (pid_ > 0)
        ::kill(pid_, SIGCONT);
}

void vlcProcess::kill()
{
    if (pid_ > 0)
        ::kill(pid_, SIGKILL);
    waitForExit(5000ms);
}

void vlcProcess::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGCONT);
    ::kill(pid_, SIGTERM);
    if (!waitForExit(5000ms))
        kill();
}

} // namespace vlcreal
