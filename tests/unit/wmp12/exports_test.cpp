// The plug-in library itself, through its four entry points, against the stand-in player.
#include "plugins/common/pluginabi.h"
#include "vcore/lib.h"
#include "wmpfixture.h"

using namespace wmptest;

namespace {

int TOLVANU_STDCALL quietHost(const char16_t*, const char16_t*)
{
    return 1;
}

class Library : public WmpTest {
protected:
    void SetUp() override
    {
        WmpTest::SetUp();
        const auto path = testenv::programFolder() / "Tolvanu_WMP12.dll";
        ASSERT_TRUE(library.load(reinterpret_cast<const char16_t*>(path.wstring().c_str())));
        init = reinterpret_cast<TolvanuInitProc>(library.getProc(u"Tolvanu_init"));
        search = reinterpret_cast<TolvanuSearchProc>(library.getProc(u"Tolvanu_search"));
        connect = reinterpret_cast<TolvanuConnectProc>(library.getProc(u"Tolvanu_connect"));
        close = reinterpret_cast<TolvanuCloseProc>(library.getProc(u"Tolvanu_close"));
        ASSERT_TRUE(init && search && connect && close);
    }

    vcore::lib library;
    TolvanuInitProc init = nullptr;
    TolvanuSearchProc search = nullptr;
    TolvanuConnectProc connect = nullptr;
    TolvanuCloseProc close = nullptr;
};

TEST_F(Library, OffersItsServiceOnlyWhileThePlayerRuns)
{
    char16_t name[tolvanuNameRoom] = {};
    EXPECT_EQ(init(nullptr, quietHost), 0);
    ASSERT_EQ(init(name, quietHost), 1);
    EXPECT_EQ(vcore::str(name), vcore::str(u"media.WMP12"));

    EXPECT_EQ(search(u"media"), 1);
    EXPECT_EQ(search(u"MEDIA.wmp12"), 1);
    EXPECT_EQ(search(u"media.vlc"), 0);
    const int port = connect(u"media");
    ASSERT_GT(port, 0);
    EXPECT_EQ(connect(u"media.WMP12"), port);
    EXPECT_EQ(close(u"system"), 0);
    EXPECT_EQ(close(u""), 1);
    EXPECT_EQ(seen().objects, 0) << "close lets go of the control";

    ASSERT_TRUE(skinHost(false));
    EXPECT_EQ(search(u"media"), 0);
    EXPECT_EQ(connect(u"media"), 0);
    EXPECT_EQ(seen().objects, 0);
}

} // namespace
