// The media command intake and dispatch of a session, over the VLC connector's operations:
// client datagrams in, VLC's replies to each command the operations send taken from the same
// input through the line reader and reply parser. The state lock is always given back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "plugins/common/mediacommand.h"
#include "plugins/common/session.h"
#include "plugins/vlc/linereader.h"
#include "plugins/vlc/operations.h"
#include "plugins/vlc/replyparser.h"
#include "plugins/vlc/vlccommands.h"
#include "plugins/vlc/vlcshell.h"

namespace {

using fuzzcheck::require;

// Plays VLC from the fuzz input; counts what a real shell would have to balance.
class replayShell : public vlc::vlcShell {
public:
    replayShell(vlc::vlcState& state, FuzzedDataProvider& in) : parser_(state), in_(in) {}

    int held = 0;

    bool sendCommand(const vcore::str& text) override
    {
        const vcore::str last = vlc::lastCommandOf(text);
        const std::string reply = in_.ConsumeRandomLengthString(4096);
        vlc::lineReader reader;
        reader.push(reply.data(), reply.size());
        parser_.beginData();
        vcore::str line;
        while (reader.next(line))
            if (parser_.feedLine(line, last).replyComplete)
                break;
        return in_.ConsumeBool();
    }
    bool sendReport(const vcore::str&) override { return true; }
    bool lockState(int32_t) override
    {
        const bool free = in_.ConsumeIntegralInRange(0, 15) != 0;
        held += free;
        return free;
    }
    void unlockState() override { --held; }
    bool isOwnAddress(uint32_t address) override { return address == 0x0A420001; }
    vcore::str computerName() override { return vcore::str(u"DESK"); }

private:
    vlc::replyParser parser_;
    FuzzedDataProvider& in_;
};

class fuzzSession : public plugin::session {
public:
    fuzzSession(vlc::vlcState& state, vlc::vlcShell& shell) : session(u"media.VLC"), operations_(state, shell) {}
    ~fuzzSession() override { close(); }

    void hear(vcore::str& text) { receive(text); }
    void tick() { poll(); }

protected:
    bool present() override { return true; }
    uint32_t pollPeriod() const override { return 1000; }
    bool dispatch(const vcore::str& name, const vcore::str& argument) override
    {
        return operations_.run(media::mediaCommandFromName(name.view()), argument);
    }
    void poll() override { operations_.poll(); }
    bool fromThisHost() const override { return false; }

private:
    vlc::operations operations_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    vlc::vlcState state;
    replayShell shell(state, in);
    fuzzSession session(state, shell);
    state.sessionActive = in.ConsumeBool();
    for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) {
        if (in.ConsumeIntegralInRange(0, 7) == 0) {
            session.tick();
        } else {
            // Bytes as the port reads them; the session decodes UTF-8 itself.
            vcore::str text(in.ConsumeRandomLengthString(1024).c_str());
            session.hear(text);
        }
        require(shell.held == 0, "the state lock was not given back");
        require(state.list.size() <= size_t(vlc::replyParser::maxListEntries), "list beyond its bound");
    }
    return 0;
}
