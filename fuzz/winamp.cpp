// The Winamp component's intake: client texts (UTF-8, decoded as its port does), from this PC and
// from others, and quiet ticks, over a Winamp whose every answer comes from the input. Winamp's
// own contract holds (its titles end, the title record is filled within its room); the rest may
// be anything. Texts from this PC other than the greeting reach no window; no volume or rating
// outside Winamp's range is asked for; every report fits one datagram.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "plugins/winamp_component/componentsession.h"
#include "plugins/winamp_component/playlist.h"
#include "plugins/winamp_component/winampipc.h"
#include "vcore/semaphore.h"

namespace {

using fuzzcheck::require;
using namespace winamp;

class answeringWindow : public window {
public:
    explicit answeringWindow(FuzzedDataProvider& in) : in_(in) {}
    int64_t calls = 0;

    bool ipc(int number, intptr_t wParam, intptr_t& result) override
    {
        ++calls;
        if (number == ipc::volume && wParam != volumeQuery)
            require(wParam >= 0 && wParam <= 255, "a volume outside 0..255 was set");
        if (number == ipc::setRating)
            require(wParam >= 0 && wParam <= 5, "a rating outside 0..5 was set");
        if (in_.ConsumeIntegralInRange(0, 15) == 0)
            return false;  // no window to ask
        switch (number) {
        case ipc::listLength:
            // Mostly short lists; now and then one beyond the bound.
            result = in_.ConsumeBool() ? in_.ConsumeIntegralInRange<intptr_t>(-2, 40)
                                       : in_.ConsumeIntegralInRange<intptr_t>(-70000, 70000);
            return true;
        case ipc::listTitle: result = title(); return true;
        case ipc::titleRecord: fillRecord(*reinterpret_cast<titleInfo*>(wParam)); return true;
        default: result = in_.ConsumeIntegral<int32_t>(); return true;
        }
    }
    bool press(int) override
    {
        ++calls;
        return in_.ConsumeBool();
    }

private:
    // Winamp's wide text in its own memory: ends with a NUL, or null for no entry.
    intptr_t title()
    {
        if (in_.ConsumeIntegralInRange(0, 7) == 0)
            return 0;
        const std::string bytes = in_.ConsumeRandomLengthString(2 * maxTitleLength + 64);
        std::u16string& text = titles_.emplace_back(bytes.size() / 2, u'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(char16_t));
        if (titles_.size() > 64)
            titles_.pop_front();
        return reinterpret_cast<intptr_t>(titles_.back().c_str());
    }
    void fillRecord(titleInfo& record)
    {
        require(record.title != nullptr && record.titleRoom > 0, "the title record has no room");
        const std::string text = in_.ConsumeRandomLengthString(size_t(record.titleRoom) - 1);
        std::memcpy(record.title, text.c_str(), text.size() + 1);
    }

    FuzzedDataProvider& in_;
    std::deque<std::u16string> titles_;
};

class checkedOutbox : public outbox {
public:
    void send(const vcore::str& report) override
    {
        // The detail only on failure: a list report sends thousands of these.
        if (report.length() + 1 > maxReportBytes)
            fuzzcheck::fail("a report does not fit one datagram", fuzzcheck::narrowed(report));
    }
    void pause(uint32_t) override {}
    void toBroadcast() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    answeringWindow winamp(in);
    checkedOutbox out;
    vcore::semaphore lock;
    componentSession session(winamp, out, lock,
                             componentSession::host{vcore::str(u"DESK"), [](uint32_t a) { return a == 0x0A420001; }});
    for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) {
        const int kind = in.ConsumeIntegralInRange(0, 15);
        if (kind == 0) {
            session.poll();
            continue;
        }
        const vcore::str text = fuzzcheck::decoded(in.ConsumeRandomLengthString(512));
        const bool fromThisHost = kind == 1;
        const int64_t calls = winamp.calls;
        session.command(text, fromThisHost);
        require(!fromThisHost || winamp.calls == calls, "a text from this PC reached Winamp",
                fuzzcheck::narrowed(text));
    }
    return 0;
}
