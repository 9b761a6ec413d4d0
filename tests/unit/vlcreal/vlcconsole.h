#pragma once
// VLC's Lua console on loopback, through which the tests see what VLC really does.
#include <chrono>
#include <memory>
#include <string>

#include "support.h"

namespace vlcreal {

using namespace std::chrono_literals;

constexpr uint32_t consolePort = 4213;

// VLC's Lua console: one question, one answer (the text before its prompt).
class vlcConsole {
public:
    bool connect(std::chrono::milliseconds limit = 10000ms);
    std::string ask(const std::string& command);

private:
    std::string readToPrompt(std::chrono::milliseconds limit);
    std::unique_ptr<nettest::peer> socket_;
};

} // namespace vlcreal
