// Sees the hub's answers on this host's wire, whichever program's port they are addressed to:
// the session's client holds the ports they go to, the flood sender only counts them.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace flood {

class answerWatch {
public:
    // Datagrams from hub (host order) whose source port is one of the two given.
    answerWatch(uint32_t hub, uint16_t portA, uint16_t portB);
    ~answerWatch();
    answerWatch(const answerWatch&) = delete;
    answerWatch& operator=(const answerWatch&) = delete;

    bool ok() const { return fd_ >= 0; }
    // Counts what has arrived, at most limit datagrams, without waiting.
    uint64_t drain(uint32_t limit);
    // All counted so far from each port.
    uint64_t fromA() const { return fromA_; }
    uint64_t fromB() const { return fromB_; }
    // Waits until a datagram whose payload starts with prefix arrives, or the deadline.
    bool waitFor(const std::string& prefix, std::chrono::steady_clock::time_point deadline);
    // Datagrams the kernel dropped because this socket did not keep up.
    uint64_t dropped();

private:
    // The source port and payload of a matching datagram, or 0.
    uint16_t readOne(std::string* payload);

    int fd_ = -1;
    uint32_t hub_;
    uint16_t portA_;
    uint16_t portB_;
    uint64_t dropped_ = 0;
    uint64_t fromA_ = 0;
    uint64_t fromB_ = 0;
};

} // namespace flood
