// Junk datagrams for the flood test: random bytes, and lines shaped like the discovery and the
// session protocols with broken fields. Never a message that a well-behaved client could send
// to end or take over the session, nor one that names an address outside the test hosts.
#pragma once

#include <cstdint>
#include <string>

namespace flood {

class junkMaker {
public:
    // hub and self: the dotted addresses of the two test hosts; service: the class in session.
    junkMaker(uint64_t seed, std::string hub, std::string self, std::string service);

    std::string randomBytes();
    std::string discoveryLine();
    std::string sessionLine();

    // Whether the hub, reading this datagram on its discovery port, could close or reopen the
    // session or send something to an address other than the test hosts'.
    bool harmfulForDiscovery(const std::string& datagram) const;

private:
    uint64_t next();
    uint32_t below(uint32_t bound);
    const char* pick(const char* const* words, uint32_t count);
    std::string field(bool forService);
    std::string number();
    std::string brokenUtf8();
    std::string longText();
    void maybeEmbedNul(std::string& text);
    std::string tamed(std::string line);

    uint64_t state_;
    std::string hub_;
    std::string self_;
    std::string service_;
};

// The hub's own reading of "a.b.c.d"; 0 for anything else.
uint32_t dottedAddress(const std::string& text);

} // namespace flood
