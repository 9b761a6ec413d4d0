#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include "plugins/common/hostlink.h"
#include "plugins/itunes/tolvanu_itunes.h"
#include "support.h"
#include "vwin/idispatch.h"

namespace ittest {

using namespace std::chrono_literals;

// The session's log lines, shown when a test fails.
inline std::vector<std::string>& logLines()
{
    static std::vector<std::string> lines;
    return lines;
}
inline std::mutex& logLock()
{
    static std::mutex m;
    return m;
}
inline int TOLVANU_STDCALL hostCallback(const char16_t* command, const char16_t* argument)
{
    if (!command || !argument || std::u16string(command) != u"log")
        return 0;
    std::string line;
    for (const char16_t* p = argument; *p; ++p)
        line += char(*p < 128 ? *p : '?');
    std::lock_guard<std::mutex> hold(logLock());
    logLines().push_back(line);
    return 1;
}

const CLSID appClass = {0xDC0C2640, 0x1415, 0x4644, {0x87, 0x5C, 0x6F, 0x4D, 0x76, 0x98, 0x39, 0xBA}};

// The test's own connection to the stand-in player: sets it up and reads its state back.
class standin {
public:
    bool start()
    {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IUnknown* made = nullptr;
        const HRESULT hr = CoCreateInstance(appClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                            reinterpret_cast<void**>(&made));
        if (FAILED(hr) || !made) {
            std::printf("stand-in: CoCreateInstance 0x%08lx\n", static_cast<unsigned long>(hr));
            return false;
        }
        const bool ok = app.attach(made);
        made->Release();
        return ok;
    }
    void stop() { app.release(); }
    int32_t number(const char16_t* member) { return vwin::toInt(app.get(member)); }
    int32_t playlistNumber(const char16_t* member)
    {
        vwin::iDispatch list;
        const vwin::variant v = app.get(u"LibraryPlaylist");
        if (v.vt != VT_DISPATCH || !list.attach(v.pdispVal))
            return -999;
        return vwin::toInt(list.get(member));
    }
    bool putPlaylist(const char16_t* member, const VARIANT& value)
    {
        vwin::iDispatch list;
        const vwin::variant v = app.get(u"LibraryPlaylist");
        return v.vt == VT_DISPATCH && list.attach(v.pdispVal) && list.put(member, value);
    }
    int32_t trackNumber(const char16_t* member)
    {
        vwin::iDispatch t;
        const vwin::variant v = app.get(u"CurrentTrack");
        if (v.vt != VT_DISPATCH || !t.attach(v.pdispVal))
            return -999;
        return vwin::toInt(t.get(member));
    }
    bool clear(int32_t list, int32_t id)
    {
        vwin::variant args[2] = {vwin::variant::integer(list), vwin::variant::integer(id)};
        return app.call(u"StandInClearPlaylist", nullptr, args, 2);
    }
    bool add(int32_t list, const std::u16string& name, const std::u16string& artist, int32_t duration,
             int32_t order, int32_t rating = 0)
    {
        vwin::variant args[6] = {vwin::variant::integer(list), vwin::variant::text(name.c_str()),
                                 vwin::variant::text(artist.c_str()), vwin::variant::integer(duration),
                                 vwin::variant::integer(order), vwin::variant::integer(rating)};
        return app.call(u"StandInAddTrack", nullptr, args, 6);
    }
    bool setCurrent(int32_t list, int32_t track)
    {
        vwin::variant args[2] = {vwin::variant::integer(list), vwin::variant::integer(track)};
        return app.call(u"StandInSetCurrent", nullptr, args, 2);
    }
    bool call2(const char16_t* member, int32_t first, int32_t second)
    {
        vwin::variant args[2] = {vwin::variant::integer(first), vwin::variant::integer(second)};
        return app.call(member, nullptr, args, 2);
    }
    bool call1(const char16_t* member, int32_t value)
    {
        vwin::variant arg = vwin::variant::integer(value);
        return app.call(member, nullptr, &arg, 1);
    }

    vwin::iDispatch app;
};

// What the session reported, in order; commands go to it as datagrams from loopback.
class client {
public:
    bool open() { return socket.bind(nettest::loopback); }
    void say(const std::string& text, uint32_t port) { socket.sendTo(text, nettest::loopback, port); }
    void record(const std::string& report)
    {
        std::lock_guard<std::mutex> hold(lock_);
        got_.push_back(report);
        arrived_.notify_all();
    }
    // Waits (bounded) until report (or one starting with it) arrives after the last one waited for.
    bool waitFor(const std::string& report, std::chrono::milliseconds limit = 5000ms, bool prefix = false)
    {
        std::unique_lock<std::mutex> hold(lock_);
        return arrived_.wait_for(hold, limit, [&] {
            for (; seen_ < got_.size(); ++seen_)
                if (prefix ? got_[seen_].rfind(report, 0) == 0 : got_[seen_] == report) {
                    ++seen_;
                    return true;
                }
            return false;
        });
    }
    // Position after the last report waited for.
    size_t mark() const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return seen_;
    }
    // Reports since from that start with prefix.
    std::vector<std::string> since(size_t from, const std::string& prefix) const
    {
        std::lock_guard<std::mutex> hold(lock_);
        std::vector<std::string> out;
        for (size_t i = from; i < got_.size(); ++i)
            if (got_[i].rfind(prefix, 0) == 0)
                out.push_back(got_[i]);
        return out;
    }

private:
    nettest::peer socket;
    mutable std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<std::string> got_;
    size_t seen_ = 0;
};

// The session with this host's client let in (the tests' client sits on loopback); its reports
// are recorded besides (replies go to the session's own port number at the sender, which a
// client on this host cannot take).
class testSession : public Tolvanu_iTunes {
public:
    client* recorder = nullptr;

protected:
    bool fromThisHost() const override { return false; }
    void deliver(const vcore::str& text, bool logged) override
    {
        vcore::str bytes(text);
        if (recorder)
            recorder->record(std::string(bytes.narrow(), size_t(bytes.length())));
        Tolvanu_iTunes::deliver(text, logged);
    }
};

// A connected session against a fresh stand-in (default library: "Alpha - First" 200 s,
// "Second" 180 s rating 40, "Gamma - Third" 240 s rating 100; the first is current, stopped).
class ITunes : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("TOLVANU_ITUNES_UNREGISTERED"))
            GTEST_SKIP() << "the stand-in is not registered in this run";
        plugin::setHostCallback(hostCallback);
        // The last test's stand-in ends once its objects are gone; a start meeting it on its way
        // out would be handed a class object about to go.
        ASSERT_TRUE(nettest::waitUntil([] { return !FindWindowW(L"iTunes", nullptr); }, 10000ms))
            << "a stand-in from before lingers";
        ASSERT_TRUE(player.start()) << "the stand-in player did not start";
        session.recorder = &peer;
        port = session.connectSession();
        ASSERT_NE(port, 0u);
        ASSERT_TRUE(peer.open());
    }
    void TearDown() override
    {
        if (HasFailure()) {
            std::lock_guard<std::mutex> hold(logLock());
            for (const auto& line : logLines())
                std::printf("log: %s\n", line.c_str());
        }
        logLines().clear();
        session.closeSession();
        player.stop();
    }
    void say(const std::string& text) { peer.say(text, port); }
    // A request whose answer ends with a known report: all said before it has been handled.
    bool settle()
    {
        say("media.get_state");
        return peer.waitFor(player.playlistNumber(u"SongRepeat") ? "media.repeat 1" : "media.repeat 0");
    }

    standin player;
    client peer;
    testSession session;
    uint32_t port = 0;
};

} // namespace ittest
