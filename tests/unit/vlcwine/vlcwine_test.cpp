// The Windows build of the VLC plug-in under Wine. First it prepares vlcrc in the Wine profile
// the Windows way; then (vlc_under_wine.sh has started Debian's VLC on the port it chose) it
// drives that VLC as a client at another address asks. VLC's Lua console shows what VLC did.
#include <gtest/gtest.h>

#include <cstdlib>

#include "plugins/common/pluginabi.h"
#include "plugins/vlc/vlcrcfile.h"
#include "vcore/lib.h"
#include "vlcconsole.h"
#include "vlcsupport.h"
#include "vnet/address.h"

using namespace vlctest;
using nettest::waitUntil;

namespace {

constexpr int sessionPort = 6638;

// Set by vlc_under_wine.sh: the client's address (one of this network's, not Wine's own).
std::string clientAddress()
{
    const char* address = std::getenv("TOLVANU_VLCWINE_CLIENT");
    return address ? address : "";
}

class plugIn {
public:
    bool load()
    {
        const fs::path path = programFolder() / "Tolvanu_VLC.dll";
        if (!library_.load(text(path).data()))
            return false;
        init = reinterpret_cast<TolvanuInitProc>(library_.getProc(u"Tolvanu_init"));
        search = reinterpret_cast<TolvanuSearchProc>(library_.getProc(u"Tolvanu_search"));
        connect = reinterpret_cast<TolvanuConnectProc>(library_.getProc(u"Tolvanu_connect"));
        close = reinterpret_cast<TolvanuCloseProc>(library_.getProc(u"Tolvanu_close"));
        return init && search && connect && close;
    }
    std::string initialise()
    {
        char16_t name[tolvanuNameRoom] = {};
        return init(name, hostCallback) ? narrow(vcore::str(name)) : "";
    }

    TolvanuInitProc init = nullptr;
    TolvanuSearchProc search = nullptr;
    TolvanuConnectProc connect = nullptr;
    TolvanuCloseProc close = nullptr;

private:
    vcore::lib library_;
};

} // namespace

// The part of VLC's Windows vlcrc that matters, as VLC writes it there: CR LF, "rc-quiet".
TEST(WineVlcPrepare, TheProfilesVlcrcIsPreparedTheWindowsWay)
{
    if (clientAddress().empty())
        GTEST_SKIP() << "run by vlc_under_wine.sh";
    const fs::path file(vlc::vlcrcPath().data());
    const std::string original = "\xEF\xBB\xBF###\r\n[oldrc] # Remote control interface\r\n#rc-quiet=0\r\n"
                                 "#rc-host=\r\n[core] # core program\r\n#extraintf=\r\n";
    writeFile(file, original);
    plugIn plugin;
    ASSERT_TRUE(plugin.load());
    EXPECT_EQ(plugin.initialise(), "media.VLC");
    EXPECT_EQ(readFile(file), "\xEF\xBB\xBF###\r\n[oldrc] # Remote control interface\r\nrc-quiet=1\r\n"
                              "rc-host=localhost:6637\r\n[core] # core program\r\nextraintf=oldrc\r\n");
    EXPECT_EQ(readFile(fs::path(file.string() + ".bak")), original);
}

class WineVlc : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (clientAddress().empty())
            GTEST_SKIP() << "run by vlc_under_wine.sh, which starts VLC";
        client = vnet::parseDottedAddress(vcore::str(clientAddress().c_str()).data());
        ASSERT_NE(client, 0u);
        ASSERT_TRUE(plugin.load());
        ASSERT_EQ(plugin.initialise(), "media.VLC");
        ASSERT_TRUE(console.connect());
        ASSERT_TRUE(waitUntil([&] { return console.ask("playlist").find("Charlie Tone") != std::string::npos; },
                              10000ms));
        ASSERT_TRUE(waitUntil([&] { return plugin.search(u"media") == 1; }, 10000ms)) << "VLC offers its remote control";
        ASSERT_EQ(plugin.connect(u"media"), sessionPort);
        ASSERT_TRUE(socket.bind(client));
    }

    // Wine binds a datagram socket to the address's interface rather than the address, so the
    // system picks the source: sent to the client's own address, that is the client's.
    void say(const std::string& text) { ASSERT_TRUE(socket.sendTo(text, client, sessionPort)); }
    bool reported(const std::string& report, size_t from)
    {
        return logAppears("[media>" + clientAddress() + "] " + report, from);
    }
    bool consoleSays(const std::string& command, const std::string& answer)
    {
        return waitUntil([&] { return console.ask(command) == answer; }, 3000ms);
    }

    uint32_t client = 0;
    nettest::peer socket;
    vlcreal::vlcConsole console;
    plugIn plugin;
};

TEST_F(WineVlc, DrivesDebiansVlc)
{
    say("media.get_complete");
    EXPECT_TRUE(reported("media.title Alpha Tone", 0));
    EXPECT_TRUE(reported("media.list_title Charlie Tone", 0));

    size_t from = logLines().size();
    say("media.pause");
    EXPECT_TRUE(reported("media.speed 0.0", from));
    EXPECT_TRUE(waitUntil([&] { return console.ask("status").find("( state paused )") != std::string::npos; }, 3000ms));
    from = logLines().size();
    say("media.play");
    EXPECT_TRUE(reported("media.speed 1.0", from));

    from = logLines().size();
    say("media.set_volume 25");
    EXPECT_TRUE(reported("media.volume 25.00", from));
    EXPECT_TRUE(consoleSays("volume", "128"));

    from = logLines().size();
    say("media.next");
    EXPECT_TRUE(reported("media.title Bravo Tone", from));
    EXPECT_TRUE(consoleSays("get_title", "Bravo Tone"));

    from = logLines().size();
    say("media.set_pos 50");
    EXPECT_TRUE(reported("media.pos 50.00 0:12 0:25 -0:13", from));

    from = logLines().size();
    say("media.set_shuffle -1");
    EXPECT_TRUE(reported("media.shuffle 1", from));

    EXPECT_EQ(plugin.close(u"media"), 1);
    EXPECT_TRUE(logHas("[media>" + clientAddress() + "] media.close"));
}
