// The VLC plug-in against Debian's VLC 3: the connector prepares VLC's own vlcrc, VLC started
// with it offers its remote control, and the plug-in drives VLC as a client at 127.0.0.2 asks.
// VLC's Lua console shows what VLC really did.
#include <gtest/gtest.h>
#include <unistd.h>

#include "plugins/common/pluginabi.h"
#include "vcore/lib.h"
#include "vlcpeer.h"
#include "vlcsupport.h"

using namespace vlcreal;
using vlctest::logLines;
using vlctest::readFile;
using nettest::waitUntil;

namespace {

constexpr uint32_t sessionPort = 6638;

std::string hostName()
{
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

class RealVlc : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string missing = missingForVlc();
        if (!missing.empty())
            GTEST_SKIP() << missing;
        ASSERT_TRUE(home.makeTunes());
        ASSERT_TRUE(home.letVlcWriteItsConfig()) << readFile(home.log());
        vlctest::setEnvironment("XDG_CONFIG_HOME", home.configHome().string());
        vlctest::clearLog();
        vlctest::setRegAnswer(1);
    }

    void loadPlugin()
    {
        const fs::path path = vlctest::programFolder() / (std::string("Tolvanu_VLC") + TOLVANU_LIBRARY_SUFFIX);
        ASSERT_TRUE(plugin.load(vlctest::text(path).data())) << path;
        init = reinterpret_cast<TolvanuInitProc>(plugin.getProc(u"Tolvanu_init"));
        search = reinterpret_cast<TolvanuSearchProc>(plugin.getProc(u"Tolvanu_search"));
        connect = reinterpret_cast<TolvanuConnectProc>(plugin.getProc(u"Tolvanu_connect"));
        close = reinterpret_cast<TolvanuCloseProc>(plugin.getProc(u"Tolvanu_close"));
        ASSERT_TRUE(init && search && connect && close);
        char16_t name[tolvanuNameRoom] = {};
        ASSERT_EQ(init(name, vlctest::hostCallback), 1);
        ASSERT_EQ(vlctest::narrow(vcore::str(name)), "media.VLC");
    }

    // VLC playing the tunes, their titles known to it (it reads them shortly after the start).
    void startVlc()
    {
        ASSERT_TRUE(vlc.start(home, playing(home)));
        ASSERT_TRUE(console.connect()) << readFile(home.log());
        ASSERT_TRUE(waitUntil([&] { return console.ask("playlist").find("Charlie Tone") != std::string::npos; },
                              10000ms));
    }

    // The plug-in connected to VLC with a session for the client, which has had the full state.
    void startSession()
    {
        ASSERT_TRUE(waitUntil([&] { return search(u"media") == 1; }, 10000ms)) << "VLC offers its remote control";
        ASSERT_EQ(connect(u"media"), int(sessionPort));
        ASSERT_TRUE(client.bind(nettest::loopback2));
        say("media.get_complete");
        ASSERT_TRUE(reported("media.title Alpha Tone", 0));
    }

    void say(const std::string& text) { ASSERT_TRUE(client.sendTo(text, nettest::loopback, sessionPort)); }

    size_t mark() const { return logLines().size(); }

    // A report to the client logged at or after position from.
    static bool reported(const std::string& report, size_t from, std::chrono::milliseconds limit = 5000ms)
    {
        return vlctest::logAppears("[media>127.0.0.2] " + report, from, limit);
    }

    static bool reportedStartingWith(const std::string& prefix, size_t from, std::chrono::milliseconds limit)
    {
        return vlctest::logAppearsStartingWith("[media>127.0.0.2] " + prefix, from, limit);
    }

    bool consoleShows(const std::string& command, const std::string& part)
    {
        return waitUntil([&] { return console.ask(command).find(part) != std::string::npos; }, 3000ms);
    }

    bool consoleSays(const std::string& command, const std::string& answer)
    {
        return waitUntil([&] { return console.ask(command) == answer; }, 3000ms);
    }

    vlcHome home;
    vlcProcess vlc;
    vlcConsole console;
    nettest::peer client;
    vcore::lib plugin;  // unloaded first: its session ends before VLC does
    TolvanuInitProc init = nullptr;
    TolvanuSearchProc search = nullptr;
    TolvanuConnectProc connect = nullptr;
    TolvanuCloseProc close = nullptr;
};

} // namespace

// extraintf is not on VLC's command line: only the rewritten file can make VLC listen.
TEST_F(RealVlc, TheConnectorPreparesVlcsOwnFileAndVlcTakesIt)
{
    const std::string original = readFile(home.vlcrc());
    ASSERT_NE(original.find("#rc-host="), std::string::npos);
    loadPlugin();
    EXPECT_EQ(readFile(home.vlcrc().string() + ".bak"), original);
    const std::string prepared = readFile(home.vlcrc());
    EXPECT_EQ(prepared.substr(0, 3), "\xEF\xBB\xBF") << "VLC's byte-order mark is kept";
    for (const char* line : {"\nrc-host=localhost:6637\n", "\nextraintf=oldrc\n", "\nrc-fake-tty=1\n"})
        EXPECT_NE(prepared.find(line), std::string::npos) << line;
    EXPECT_EQ(prepared.find('\r'), std::string::npos) << "VLC on Linux would keep a CR in its values";

    startVlc();
    EXPECT_TRUE(waitUntil([&] { return search(u"media.vlc") == 1; }, 10000ms)) << readFile(home.log());
    EXPECT_EQ(close(u"media"), 1);
}

TEST_F(RealVlc, DrivesPlaybackAsTheClientAsks)
{
    loadPlugin();
    startVlc();
    startSession();
    size_t from = 0;
    EXPECT_TRUE(reported("media.speed 1.0", from));
    EXPECT_TRUE(reported("media.list_title Charlie Tone", from));
    EXPECT_TRUE(reportedStartingWith("media.pos ", from, 3000ms));

    from = mark();
    say("media.init");
    EXPECT_TRUE(reported("media.app " + hostName() + ":VLC", from));

    from = mark();
    say("media.pause");
    EXPECT_TRUE(reported("media.speed 0.0", from));
    EXPECT_TRUE(consoleShows("status", "( state paused )"));
    from = mark();
    say("media.play");
    EXPECT_TRUE(reported("media.speed 1.0", from));
    EXPECT_TRUE(consoleShows("status", "( state playing )"));

    // VLC counts 256 as its normal volume; the connector's scale has 100 at 512.
    for (const auto& [percent, vlcVolume] : {std::pair<std::string, std::string>{"25", "128"}, {"50", "256"}}) {
        from = mark();
        say("media.set_volume " + percent);
        EXPECT_TRUE(reported("media.volume " + percent + ".00", from));
        EXPECT_TRUE(consoleSays("volume", vlcVolume));
    }

    from = mark();
    say("media.next");
    EXPECT_TRUE(reported("media.title Bravo Tone", from));
    EXPECT_TRUE(consoleSays("get_title", "Bravo Tone"));

    from = mark();
    say("media.set_pos 50");
    EXPECT_TRUE(reported("media.pos 50.00 0:12 0:25 -0:13", from));
    EXPECT_TRUE(waitUntil([&] { return std::atoi(console.ask("get_time").c_str()) >= 12; }, 3000ms));

    // VLC 3's "goto" counts entries in the order they were made, which for files given on its
    // command line is the reverse of the play list: "goto 1" plays the last one.
    from = mark();
    say("media.set_track 0");
    EXPECT_TRUE(reported("media.title Charlie Tone", from));
    EXPECT_TRUE(consoleSays("get_title", "Charlie Tone"));

    from = mark();
    say("media.set_shuffle -1");
    EXPECT_TRUE(reported("media.shuffle 1", from));

    from = mark();  // the poll reports the position as VLC plays on
    EXPECT_TRUE(reportedStartingWith("media.pos ", from, 3000ms));

    EXPECT_EQ(close(u"media"), 1);
    EXPECT_TRUE(vlctest::logHas("[media>127.0.0.2] media.close"));
    // VLC took the "logout" and serves the next connection.
    EXPECT_TRUE(waitUntil([&] { return search(u"media") == 1; }, 5000ms));
    EXPECT_EQ(connect(u"media"), int(sessionPort));
    EXPECT_EQ(close(u"media"), 1);
}

TEST_F(RealVlc, AFrozenOrDeadVlcCostsOnlyTheWaits)
{
    loadPlugin();
    startVlc();
    startSession();

    vlc.freeze();  // mid-conversation: commands are taken by the system but never answered
    size_t from = mark();
    const auto start = std::chrono::steady_clock::now();
    say("media.get_state");
    EXPECT_TRUE(reported("media.title Alpha Tone", from, 3000ms)) << "answered from what is remembered";
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    from = mark();
    say("media.get_state");
    EXPECT_TRUE(reported("media.title Alpha Tone", from, 3000ms)) << "the session still serves";
    vlc.thaw();
    from = mark();
    EXPECT_TRUE(reportedStartingWith("media.pos ", from, 4000ms)) << "the poll goes on with VLC";

    vlc.kill();
    from = mark();
    say("media.get_state");
    EXPECT_TRUE(reported("media.title Alpha Tone", from, 3000ms));

    // A new VLC: the remote-control port finds it again and the reports resume from it.
    from = mark();
    startVlc();
    EXPECT_TRUE(reported("media.title Alpha Tone", from, 10000ms)) << readFile(home.log());
    EXPECT_EQ(close(u"media"), 1);
}
