#include "peers_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support.h"

namespace systemreal {

child::child(const std::vector<std::string>& argv, const std::filesystem::path& output) : output_(output)
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        dup2(out, 1);
        dup2(out, 2);
        execvp(args[0], args.data());
        _exit(127);
    }
    ::close(out);
}

child& child::operator=(child&& other) noexcept
{
    stop();
    pid_ = other.pid_;
    output_ = other.output_;
    other.pid_ = -1;
    return *this;
}

child::~child()
{
    stop();
}

void child::stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    const bool ended = nettest::waitUntil([&] { return waitpid(pid_, nullptr, WNOHANG) == pid_; },
                                          std::chrono::milliseconds(3000));
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

std::string child::output() const
{
    std::ifstream in(output_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string run(const std::string& command)
{
    std::string out;
    // A client of a server that hangs must not hang the test.
    FILE* pipe = popen(("timeout 10 " + command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), int(buffer.size()), pipe))
        out += buffer.data();
    return pclose(pipe) == 0 ? out : std::string();
}

bool installed(const char* program)
{
    return !run(std::string("which ") + program).empty();
}

scratchDir::scratchDir()
{
    char name[] = "/tmp/tolvanu-system-XXXXXX";
    path_ = mkdtemp(name);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
}

scratchDir::~scratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

child startPulse(const std::filesystem::path& folder)
{
    const auto runtime = folder / "runtime";
    const auto home = folder / "home";
    std::filesystem::create_directories(runtime);
    std::filesystem::create_directories(home);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    unsetenv("PULSE_SERVER");
    child pulse({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-L",
                 "module-null-sink sink_name=tolvanu_test", "-L", "module-native-protocol-unix"},
                folder / "pulse.log");
    nettest::waitUntil([] { return !run("pactl info").empty(); }, std::chrono::milliseconds(10000));
    return pulse;
}

child startX(const std::filesystem::path& folder, int& display)
{
    display = -1;
    int fds[2];
    if (pipe(fds) != 0)
        return child();
    const std::string fd = std::to_string(fds[1]);
    // -noreset: a short-lived client (xprop) ending must not reset the server under a client that
    // is just connecting (the window manager).
    child x({"Xvfb", "-displayfd", fd, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
            folder / "x.log");
    ::close(fds[1]);
    // Xvfb writes its number once it accepts clients; bounded by a poll on the pipe.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    while (std::chrono::steady_clock::now() < deadline && number.find('\n') == std::string::npos) {
        char c;
        const ssize_t n = read(fds[0], &c, 1);
        if (n == 1)
            number += c;
        else if (n == 0)
            break;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::close(fds[0]);
    if (number.find('\n') != std::string::npos)
        display = std::atoi(number.c_str());
    return x;
}

} // namespace systemreal
