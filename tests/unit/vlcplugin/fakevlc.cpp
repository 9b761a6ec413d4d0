#include "fakevlc.h"

#include "vlcsupport.h"

namespace vlctest {

using namespace vnet;
using nettest::waitUntil;

namespace {
constexpr uint32_t loopback = 0x7F000001;
} // namespace

fakeVlc::fakeVlc()
{
    listen(0);
    worker_ = std::thread([this] { run(); });
}

fakeVlc::~fakeVlc()
{
    ending_ = true;
    worker_.join();
    closeClient();
    sock::close(listener_.exchange(sock::none));
}

bool fakeVlc::listen(uint32_t port)
{
    sock::handle s = sock::create(sock::typeStream, sock::protoTcp);
    if (s == sock::none || !sock::bind(s, loopback, port) || !sock::listen(s)) {
        sock::close(s);
        return false;
    }
    port_ = sock::localPort(s);
    listener_ = s;
    return true;
}

void fakeVlc::answer(const std::string& command, const std::string& reply)
{
    std::lock_guard<std::mutex> hold(lock_);
    answers_[command] = reply;
}

void fakeVlc::say(const std::string& text)
{
    std::lock_guard<std::mutex> hold(lock_);
    outgoing_ += text;
}

void fakeVlc::stop()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        dropClient_ = true;
    }
    waitUntil([this] {
        std::lock_guard<std::mutex> hold(lock_);
        return !dropClient_;
    }, 2000ms);
    sock::close(listener_.exchange(sock::none));
}

bool fakeVlc::restart()
{
    return listen(port_);
}

std::vector<std::string> fakeVlc::commands() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return commands_;
}

void fakeVlc::forgetCommands()
{
    std::lock_guard<std::mutex> hold(lock_);
    commands_.clear();
}

bool fakeVlc::waitForCommand(const std::string& line, std::chrono::milliseconds limit) const
{
    return waitUntil([&] {
        std::lock_guard<std::mutex> hold(lock_);
        for (const std::string& c : commands_)
            if (c == line)
                return true;
        return false;
    }, limit);
}

bool fakeVlc::waitForConnections(int count, std::chrono::milliseconds limit) const
{
    return waitUntil([&] { return connections_ >= count; }, limit);
}

void fakeVlc::run()
{
    while (!ending_) {
        serve();
        std::this_thread::sleep_for(1ms);
    }
}

void fakeVlc::serve()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (dropClient_) {
            closeClient();
            dropClient_ = false;
        }
    }
    if (client_ == sock::none) {
        uint32_t address = 0, port = 0;
        const sock::handle listener = listener_;
        if (listener != sock::none && (client_ = sock::accept(listener, address, port)) != sock::none)
            ++connections_;
        return;
    }
    char buffer[4096];
    const int n = sock::receive(client_, buffer, sizeof buffer);
    if (n == 0) {
        closeClient();
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (buffer[i] != '\n') {
            partial_ += buffer[i];
            continue;
        }
        received(partial_);
        partial_.clear();
    }
    std::string pending;
    {
        std::lock_guard<std::mutex> hold(lock_);
        pending.swap(outgoing_);
    }
    if (!pending.empty() && client_ != sock::none)
        sock::send(client_, pending.data(), int(pending.size()));
}

void fakeVlc::received(const std::string& raw)
{
    const std::string line = !raw.empty() && raw.back() == '\r' ? raw.substr(0, raw.size() - 1) : raw;
    {
        std::lock_guard<std::mutex> hold(lock_);
        commands_.push_back(line);
    }
    if (line == "logout") {
        closeClient();
        return;
    }
    if (silent_)
        return;
    const std::string reply = replyTo(line);
    sock::send(client_, reply.data(), int(reply.size()));
}

std::string fakeVlc::replyTo(const std::string& line) const
{
    std::lock_guard<std::mutex> hold(lock_);
    const auto found = answers_.find(line);
    if (found != answers_.end())
        return found->second;
    return line.substr(0, line.find(' ')) + ": returned 0 (no error)\r\n";
}

void fakeVlc::closeClient()
{
    sock::close(client_);
    client_ = sock::none;
    partial_.clear();
}

} // namespace vlctest
