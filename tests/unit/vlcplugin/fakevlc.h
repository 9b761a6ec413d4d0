#pragma once
// A stand-in for VLC's remote-control interface on a loopback TCP port: answers each command
// line the way VLC 3 does, or as the test tells it to, and remembers what it was sent.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vnet/socket.h"

namespace vlctest {

using namespace std::chrono_literals;

class fakeVlc {
public:
    fakeVlc();
    ~fakeVlc();
    fakeVlc(const fakeVlc&) = delete;
    fakeVlc& operator=(const fakeVlc&) = delete;

    uint32_t port() const { return port_; }
    bool listening() const { return listener_ != vnet::sock::none; }

    // What VLC prints for a command line (without its line end); the default is
    // "<first word>: returned 0 (no error)" with CR LF.
    void answer(const std::string& command, const std::string& reply);
    // Reads commands but never answers: VLC stopped in the middle.
    void setSilent(bool silent) { silent_ = silent; }
    // Lines VLC prints of its own accord.
    void say(const std::string& text);
    // VLC goes away (listener and client closed), and comes back on the same port.
    void stop();
    bool restart();

    std::vector<std::string> commands() const;
    void forgetCommands();
    bool waitForCommand(const std::string& line, std::chrono::milliseconds limit = 2000ms) const;
    int connections() const { return connections_; }
    bool waitForConnections(int count, std::chrono::milliseconds limit = 3000ms) const;

private:
    void run();
    void serve();
    void received(const std::string& line);
    std::string replyTo(const std::string& line) const;
    void closeClient();
    bool listen(uint32_t port);

    std::atomic<vnet::sock::handle> listener_{vnet::sock::none};
    vnet::sock::handle client_ = vnet::sock::none;  // worker only
    uint32_t port_ = 0;
    std::string partial_;                           // worker only
    std::atomic<bool> silent_{false};
    std::atomic<bool> ending_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex lock_;  // the fields below
    std::map<std::string, std::string> answers_;
    std::vector<std::string> commands_;
    std::string outgoing_;
    bool dropClient_ = false;
    std::thread worker_;
};

} // namespace vlctest
