#include <thread>

#include "vlcconsole.h"

namespace vlcreal {
namespace {
constexpr uint32_t loopback = 0x7F000001;
} // namespace

bool vlcConsole::connect(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        socket_ = std::make_unique<nettest::peer>(vnet::sock::typeStream);
        if (socket_->connect(loopback, consolePort, 500ms))
            return readToPrompt(3000ms).find("Command Line Interface") != std::string::npos;
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

std::string vlcConsole::ask(const std::string& command)
{
    if (!socket_ || !socket_->send(command + "\n"))
        return "<no console>";
    std::string answer = readToPrompt(3000ms);
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r' || answer.back() == ' '))
        answer.pop_back();
    return answer;
}

// The console ends every answer with the prompt "> ".
std::string vlcConsole::readToPrompt(std::chrono::milliseconds limit)
{
    std::string text;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        text += socket_->receive(1, 50ms);
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "> ") == 0)
            return text.substr(0, text.size() - 2);
    }
    return text;
}

} // namespace vlcreal
