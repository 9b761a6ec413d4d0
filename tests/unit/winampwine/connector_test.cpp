#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/doubles/winamp/standinwindow.h"
#include "tests/support/programenv.h"

namespace {

using initFn = int(__cdecl*)(char16_t*);
using nameFn = int(__cdecl*)(const char16_t*);

struct connector {
    initFn init = nullptr;
    nameFn search = nullptr, connect = nullptr, close = nullptr;

    connector()
    {
        HMODULE library = LoadLibraryW((testenv::programFolder() / "Tolvanu_Winamp.dll").wstring().c_str());
        init = reinterpret_cast<initFn>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_init")));
        search = reinterpret_cast<nameFn>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_search")));
        connect = reinterpret_cast<nameFn>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_connect")));
        close = reinterpret_cast<nameFn>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_close")));
    }
};

class WinampConnector : public ::testing::Test {
protected:
    connector plugin;
    standin::winampModel model;
    standin::standinWindow window{model};

    void SetUp() override
    {
        ASSERT_TRUE(plugin.init && plugin.search && plugin.connect && plugin.close);
    }
};

} // namespace

TEST_F(WinampConnector, InitWritesTheServiceName)
{
    char16_t buffer[256];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(plugin.init(buffer), 1);
    EXPECT_EQ(std::u16string(buffer), u"media.Winamp");
    EXPECT_EQ(plugin.init(nullptr), 0);
}

TEST_F(WinampConnector, HandsOutTheComponentsPortWhileWinampAnswers)
{
    EXPECT_EQ(plugin.search(u"media"), 0);
    EXPECT_EQ(plugin.connect(u"media.winamp"), 0);
    ASSERT_TRUE(window.open());
    EXPECT_EQ(plugin.search(u"Media"), 1);
    EXPECT_EQ(plugin.connect(u"MEDIA.WINAMP"), 6635);
    EXPECT_EQ(plugin.connect(u"media"), 6635);
    const int asked = model.asked(0);
    EXPECT_EQ(plugin.connect(u"media.vlc"), 0);
    EXPECT_EQ(plugin.search(u"system"), 0);
    EXPECT_EQ(plugin.connect(nullptr), 0);
    EXPECT_EQ(model.asked(0), asked);  // other names: Winamp not even looked at
}

TEST_F(WinampConnector, AWindowWithoutAVersionFailsTheCheck)
{
    model.change([](auto& s) { s.version = 0; });
    ASSERT_TRUE(window.open());
    EXPECT_EQ(plugin.search(u"media"), 0);
    EXPECT_EQ(plugin.connect(u"media"), 0);
    EXPECT_GT(model.asked(0), 0);
}

TEST_F(WinampConnector, CloseTakesItsNamesAndTheEmptyOne)
{
    EXPECT_EQ(plugin.close(u""), 1);
    EXPECT_EQ(plugin.close(u"MEDIA.Winamp"), 1);
    EXPECT_EQ(plugin.close(u"media"), 1);
    EXPECT_EQ(plugin.close(u"system"), 0);
    EXPECT_EQ(plugin.close(u"media.vlc"), 0);
}
