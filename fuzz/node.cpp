// The discovery node's rules: a sequence of datagrams from fuzzed senders, with quiet periods
// between them. The table never grows from what peers send, and no reply outgrows its cause.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "fuzz/fuzzcheck.h"
#include "hub/node/c4interface.h"
#include "hub/node/c4link.h"
#include "hub/node/c4node_rules.h"

namespace {

using fuzzcheck::require;

class quietLink : public C4Link {
public:
    size_t longestSent = 0;
    void send(const vcore::str& message, uint32_t) override
    {
        longestSent = std::max(longestSent, size_t(message.length()));
    }
    void log(const vcore::str&) override {}
    void reportAddress(const vcore::str&) override {}
    void pause() override {}
    std::vector<uint32_t> localAddresses() override { return {0x0A420001, 0xC0A80105}; }
};

class fuzzOwner : public C4Interface {
public:
    explicit fuzzOwner(FuzzedDataProvider& in) : in_(in) {}
    void serverFound(const vcore::str&, const vcore::str&) override {}
    bool openRequested(const vcore::str&, const vcore::str&, int32_t& port) override
    {
        port = in_.ConsumeIntegral<int32_t>();
        return in_.ConsumeBool();
    }
    bool connectOffered(const vcore::str&, const vcore::str&, int32_t) override { return in_.ConsumeBool(); }
    void sessionClosed(const vcore::str&) override {}

private:
    FuzzedDataProvider& in_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    quietLink link;
    fuzzOwner owner(in);
    C4NodeRules rules(link);
    rules.attach(&owner);
    rules.start();
    rules.announce(vcore::str(u"media.VLC"));
    rules.announce(vcore::str(u"system"));
    rules.search(vcore::str(u"media.wanted"));
    const size_t entries = rules.services().size();

    for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
        if (in.ConsumeIntegralInRange(0, 15) == 0) {
            rules.timeOut();
            continue;
        }
        const uint32_t sender = in.ConsumeBool() ? 0x0A420002 : in.ConsumeIntegral<uint32_t>();
        const bool local = in.ConsumeIntegralInRange(0, 7) == 0;
        const vcore::str message = fuzzcheck::widened(in.ConsumeRandomLengthString(C4NodeRules::maxMessage));
        if (message.empty())
            continue;  // the port drops empty datagrams
        link.longestSent = 0;
        rules.receive(message, sender, local);
        require(rules.services().size() == entries, "a datagram added a table entry");
        // An echoing reply is the word, the echoed field and a few separators and numbers.
        require(link.longestSent <= size_t(message.length()) + 64, "a reply outgrew the datagram",
                fuzzcheck::narrowed(message));
    }
    rules.closeSessions();
    return 0;
}
