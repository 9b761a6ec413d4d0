// The plug-in library as the hub loads it: its four entry points.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "plugins/common/pluginabi.h"
#include "tests/support/programenv.h"
#include "vcore/lib.h"

namespace {

int TOLVANU_STDCALL quietHost(const char16_t*, const char16_t*)
{
    return 1;
}

std::filesystem::path libraryPath()
{
    return testenv::programFolder() / (std::string("Tolvanu_system") + TOLVANU_LIBRARY_SUFFIX);
}

TEST(Library, FourEntryPointsServeSystem)
{
    const std::filesystem::path path = libraryPath();
    vcore::lib plugin;
    ASSERT_TRUE(plugin.load(vcore::str(path.u16string().c_str()).data())) << path;
    auto init = reinterpret_cast<TolvanuInitProc>(plugin.getProc(u"Tolvanu_init"));
    auto search = reinterpret_cast<TolvanuSearchProc>(plugin.getProc(u"Tolvanu_search"));
    auto connect = reinterpret_cast<TolvanuConnectProc>(plugin.getProc(u"Tolvanu_connect"));
    auto close = reinterpret_cast<TolvanuCloseProc>(plugin.getProc(u"Tolvanu_close"));
    ASSERT_TRUE(init && search && connect && close);

    char16_t name[tolvanuNameRoom] = {u'x', 0};
    EXPECT_EQ(init(nullptr, quietHost), 0);
    EXPECT_EQ(init(name, nullptr), 0);
    EXPECT_EQ(name[0], u'x');
    EXPECT_EQ(init(name, quietHost), 256);
    EXPECT_EQ(std::u16string(name), u"system");

    EXPECT_EQ(search(u"system"), 1);
    EXPECT_EQ(search(u"SYSTEM"), 1);
    EXPECT_EQ(search(u"media"), 0);
    EXPECT_EQ(search(u"system.x"), 0);
    EXPECT_EQ(connect(u"media"), 0);
    EXPECT_EQ(connect(u"System"), 26001);
    EXPECT_EQ(close(u"media"), 0);
    EXPECT_EQ(close(u""), 1);
    EXPECT_EQ(close(u"system"), 1);
}

// Load and unload start and stop the port, the worker and the platform's services under
// the loader's own lock: a wait in there for anything that needs the lock would hang here.
TEST(Library, LoadsAndUnloadsAgainAndAgainWithSessionsBetween)
{
    const std::filesystem::path path = libraryPath();
    for (int round = 0; round < 8; ++round) {
        vcore::lib plugin;
        ASSERT_TRUE(plugin.load(vcore::str(path.u16string().c_str()).data())) << "round " << round;
        auto init = reinterpret_cast<TolvanuInitProc>(plugin.getProc(u"Tolvanu_init"));
        auto connect = reinterpret_cast<TolvanuConnectProc>(plugin.getProc(u"Tolvanu_connect"));
        auto close = reinterpret_cast<TolvanuCloseProc>(plugin.getProc(u"Tolvanu_close"));
        ASSERT_TRUE(init && connect && close);
        // Unloaded right after its load, before any call has started the worker.
        if (round % 3 == 2) {
            plugin.unload();
            continue;
        }
        char16_t name[tolvanuNameRoom] = {};
        EXPECT_EQ(init(name, quietHost), 256);
        EXPECT_EQ(connect(u"system"), 26001) << "round " << round;
        if (round % 2 == 1) {
            EXPECT_EQ(close(u"system"), 1);
        }
        plugin.unload();
    }
}

} // namespace
