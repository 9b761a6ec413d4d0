// The media player control hosted in remote mode, against the stand-in player.
#include <cwchar>

#include "plugins/wmp12/imediaplayer.h"
#include "standin.h"

namespace {

class MediaPlayer : public StandinTest {
protected:
    void SetUp() override
    {
        StandinTest::SetUp();
        auto entry = [&](const char* name) {
            return reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"standin_olecontrol.dll"), name));
        };
        observed = reinterpret_cast<standinPlayerProc>(entry("standinPlayer"));
        ASSERT_TRUE(observed);
    }
    playerRecord& player() { return *observed(); }

    standinPlayerProc observed = nullptr;
};

TEST_F(MediaPlayer, AttachesInRemoteModeAndSetsItsHostingProperties)
{
    vwin::iMediaPlayer media;
    ASSERT_TRUE(media.created());
    EXPECT_EQ(player().serviceHr, S_OK);
    EXPECT_STREQ(player().serviceType, L"Remote");
    EXPECT_TRUE(player().remote);
    EXPECT_EQ(player().applicationNameHr, S_OK);
    EXPECT_TRUE(player().applicationNameNull);
    EXPECT_EQ(player().scriptableHr, E_NOTIMPL);
    EXPECT_TRUE(player().scriptableNull);
    EXPECT_TRUE(FAILED(player().customUiHr));
    EXPECT_TRUE(player().customUiNull);

    EXPECT_EQ(player().enabled, VARIANT_TRUE);
    EXPECT_EQ(player().windowlessVideo, VARIANT_TRUE);
    EXPECT_EQ(player().enableContextMenu, VARIANT_FALSE);
    EXPECT_STREQ(player().uiMode, L"none");
    EXPECT_TRUE(media.inPlaceActive());
    EXPECT_EQ(vwin::toInt(media.get(u"versionInfo")), 12);
}

TEST_F(MediaPlayer, ItsPartsAreDrivenThroughTheirWrappers)
{
    vwin::iMediaPlayer media;
    ASSERT_TRUE(media.created());
    EXPECT_TRUE(media.settings().put(u"volume", vwin::variant::real(35.0)));
    EXPECT_EQ(player().volume, 35);
    EXPECT_EQ(vwin::toInt(media.settings().get(u"Volume")), 35);
    EXPECT_TRUE(media.controls().call(u"play", nullptr, nullptr, 0));
    EXPECT_EQ(player().plays, 1);
    EXPECT_TRUE(media.error().find(u"errorCount"));
}

TEST_F(MediaPlayer, RemoteServicesAreAlsoAnInterfaceOfTheSite)
{
    vwin::iMediaPlayer media;
    IUnknown* site = static_cast<IOleClientSite*>(&media);
    void* remote = nullptr;
    ASSERT_EQ(site->QueryInterface(vwin::IWMPRemoteMediaServices::id, &remote), S_OK);
    EXPECT_EQ(remote, static_cast<vwin::IWMPRemoteMediaServices*>(&media));
    BSTR type = nullptr;
    EXPECT_EQ(static_cast<vwin::IWMPRemoteMediaServices*>(remote)->GetServiceType(&type), S_OK);
    EXPECT_STREQ(type, L"Remote");
    SysFreeString(type);
}

TEST_F(MediaPlayer, AllIsReleasedWithThePlayerObject)
{
    {
        vwin::iMediaPlayer media;
        ASSERT_TRUE(media.created());
        EXPECT_GE(seen().objects, 4) << "the player and its controls, settings and error objects";
    }
    EXPECT_EQ(seen().objects, 0);
    EXPECT_EQ(seen().closeCalls, 0);
}

} // namespace
