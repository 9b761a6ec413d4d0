// The plug-in library as the hub loads it: its four entry points over a stand-in for VLC.
#include <gtest/gtest.h>

#include "fakevlc.h"
#include "plugins/common/pluginabi.h"
#include "plugins/vlc/vlcrcfile.h"
#include "vcore/lib.h"
#include "vlcsupport.h"

using namespace vlctest;
using nettest::waitUntil;

namespace {

// Where the library will look for vlcrc: a scratch folder on Linux, the (test) profile's
// application data on Windows, whose earlier content is put back afterwards.
class configPlace {
public:
    configPlace()
    {
        setEnvironment("XDG_CONFIG_HOME", folder_.path().string());
        file_ = fs::path(vlc::vlcrcPath().data());
        kept_ = fs::exists(file_);
        if (kept_)
            fs::rename(file_, folder_.path() / "kept");
        fs::create_directories(file_.parent_path());
    }
    ~configPlace()
    {
        std::error_code ignored;
        for (const char* suffix : {"", ".bak", ".new"})
            fs::remove(fs::path(file_.string() + suffix), ignored);
        if (kept_)
            fs::rename(folder_.path() / "kept", file_, ignored);
    }
    const fs::path& file() const { return file_; }

private:
    scratch folder_;
    fs::path file_;
    bool kept_ = false;
};

class Library : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearLog();
        setRegAnswer(1);
        const fs::path path = programFolder() / (std::string("Tolvanu_VLC") + TOLVANU_LIBRARY_SUFFIX);
        ASSERT_TRUE(plugin.load(text(path).data())) << path;
        init = reinterpret_cast<TolvanuInitProc>(plugin.getProc(u"Tolvanu_init"));
        search = reinterpret_cast<TolvanuSearchProc>(plugin.getProc(u"Tolvanu_search"));
        connect = reinterpret_cast<TolvanuConnectProc>(plugin.getProc(u"Tolvanu_connect"));
        close = reinterpret_cast<TolvanuCloseProc>(plugin.getProc(u"Tolvanu_close"));
        ASSERT_TRUE(init && search && connect && close) << "the four entry points, by their plain names";
    }

    std::string initialise()
    {
        char16_t name[tolvanuNameRoom] = u"untouched";
        return init(name, hostCallback) ? narrow(vcore::str(name)) : "refused:" + narrow(vcore::str(name));
    }

    configPlace place;
    fakeVlc vlc;
    vcore::lib plugin;
    TolvanuInitProc init = nullptr;
    TolvanuSearchProc search = nullptr;
    TolvanuConnectProc connect = nullptr;
    TolvanuCloseProc close = nullptr;
};

} // namespace

TEST_F(Library, InitPreparesVlcrcWhenTheHubAllowsIt)
{
    writeFile(place.file(), "#rc-host=\n#extraintf=\n");
    char16_t name[tolvanuNameRoom] = u"untouched";
    EXPECT_EQ(init(name, nullptr), 0);
    setRegAnswer(0);
    EXPECT_EQ(initialise(), "refused:untouched");
    EXPECT_EQ(readFile(place.file()), "#rc-host=\n#extraintf=\n");

    setRegAnswer(1);
    EXPECT_EQ(initialise(), "media.VLC");
    EXPECT_EQ(regRequests(), (std::vector<std::string>{"vlc_autoconfig", "vlc_autoconfig"}));
    EXPECT_NE(readFile(place.file()).find("rc-host=localhost:6637"), std::string::npos);
    EXPECT_EQ(readFile(fs::path(place.file().string() + ".bak")), "#rc-host=\n#extraintf=\n");
    EXPECT_EQ(logStartingWith("VLC: vlcrc set up").size(), 1u);
}

TEST_F(Library, SearchConnectAndCloseOverVlc)
{
    writeFile(place.file(), "extraintf=oldrc\nrc-host=127.0.0.1:" + std::to_string(vlc.port()) + "\n");
    ASSERT_EQ(initialise(), "media.VLC");
    EXPECT_TRUE(waitUntil([&] { return search(u"media.vlc") == 1; }, 2000ms));
    EXPECT_EQ(search(u"MEDIA.VLC"), 1);
    EXPECT_EQ(search(u"Media"), 1);
    EXPECT_EQ(search(u"media.vlc2"), 0);
    EXPECT_EQ(search(u"system"), 0);
    EXPECT_EQ(connect(u"media"), 6638);

    if (nettest::sourceKept(nettest::loopback2)) {
        nettest::peer client;
        ASSERT_TRUE(client.bind(nettest::loopback2));
        ASSERT_TRUE(client.sendTo("MEDIA.INIT", nettest::loopback, 6638));
        EXPECT_TRUE(waitForLog("[media:127.0.0.2] MEDIA.INIT"));
        // The report's line follows the command's a little later, from the port's worker.
        EXPECT_TRUE(logAppearsStartingWith("[media>127.0.0.2] media.app ", 0));
        EXPECT_EQ(logStartingWith("[media>127.0.0.2] media.app ").size(), 1u);
        EXPECT_TRUE(vlc.waitForCommand("random off"));
    }
    EXPECT_EQ(close(u"media.winamp"), 0);
    EXPECT_EQ(close(u""), 1);
    EXPECT_TRUE(vlc.waitForCommand("logout"));

    vlc.stop();
    EXPECT_EQ(search(u"media"), 0);
    EXPECT_EQ(connect(u"media"), 0);
}
