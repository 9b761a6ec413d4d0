// Presence, bad input and a player that fails or hangs.
#include <thread>

#include "itunesfixture.h"
#include "plugins/common/pluginabi.h"
#include "tests/support/programenv.h"

using namespace ittest;

namespace {

bool standinWindow()
{
    return FindWindowW(L"iTunes", nullptr) || FindWindowW(nullptr, L"iTunes");
}

} // namespace

TEST(ITunesPresence, WithoutAnITunesWindowNothingIsCreated)
{
    if (std::getenv("TOLVANU_ITUNES_UNREGISTERED"))
        GTEST_SKIP();
    ASSERT_TRUE(nettest::waitUntil([] { return !standinWindow(); }, 10000ms)) << "a stand-in from before lingers";
    testSession session;
    EXPECT_FALSE(session.present());
    EXPECT_EQ(session.connectSession(), 0u);
    std::this_thread::yield();
    EXPECT_FALSE(standinWindow());
}

// Run by itunes_under_wine.sh once the class's key is gone.
TEST(ITunesPresenceUnregistered, AWindowWithoutTheServerFindsNothing)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"iTunes";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"iTunes", L"iTunes", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(window);
    testSession session;
    EXPECT_FALSE(session.present());
    EXPECT_EQ(session.connectSession(), 0u);
    DestroyWindow(window);
}

TEST_F(ITunes, MissingHugeAndNonNumericArgumentsStayInRange)
{
    say("media.set_volume");
    EXPECT_TRUE(peer.waitFor("media.volume 0.00"));
    say("media.set_volume 1e300");
    EXPECT_TRUE(peer.waitFor("media.volume 100.00"));
    say("media.add_volume -9999999999");
    EXPECT_TRUE(peer.waitFor("media.volume 0.00"));
    say("media.set_volume many");
    EXPECT_TRUE(peer.waitFor("media.volume 0.00"));
    EXPECT_EQ(player.number(u"SoundVolume"), 0);

    say("media.set_track 2147483647");
    say("media.set_track -2147483648");
    say("media.set_track 3");
    say("media.set_pos 1e300");
    say("media.add_pos -1e300");
    say("media.get_shortlist -1");
    say("media.get_shortlist 2147483647");
    say("media.search " + std::string(65536, 'q'));
    say("media.nonsense 1");
    ASSERT_TRUE(settle());
    EXPECT_EQ(player.number(u"StandInPlayedTrack"), -1);  // no track was played
    EXPECT_EQ(player.number(u"PlayerPosition"), 0);
}

TEST_F(ITunes, AKilledPlayerLeavesTheSessionServingAndAFreshOneConnectsAgain)
{
    say("media.get_complete");
    ASSERT_TRUE(peer.waitFor("media.list_end"));
    const DWORD pid = DWORD(player.number(u"StandInProcessId"));
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_TRUE(process);
    player.app.call(u"StandInDie", nullptr, nullptr, 0);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
    player.stop();

    say("media.set_volume 20");
    say("media.get_state");
    say("media.stop");
    EXPECT_TRUE(peer.waitFor("media.speed 0", 10000ms));
    EXPECT_TRUE(peer.since(0, "media.volume 20").empty());

    session.closeSession();
    ASSERT_TRUE(player.start());
    port = session.connectSession();
    ASSERT_NE(port, 0u);
    say("media.set_volume 20");
    EXPECT_TRUE(peer.waitFor("media.volume 20.00", 10000ms));
    EXPECT_EQ(player.number(u"SoundVolume"), 20);
}

TEST_F(ITunes, AStalledCallHoldsTheHubsThreadOnlyForABoundedTime)
{
    ASSERT_TRUE(player.call1(u"StandInStall", 10000));
    say("media.get_state");
    ASSERT_TRUE(nettest::waitUntil([&] { return player.number(u"StandInStalling") == 1; }, 5000ms));
    const auto start = std::chrono::steady_clock::now();
    session.closeSession();
    const auto held = std::chrono::steady_clock::now() - start;
    EXPECT_LT(held, 7000ms);
    // The session may go only once the apartment is out of the hung call.
    EXPECT_TRUE(nettest::waitUntil([&] { return player.number(u"StandInStalling") == 0; }, 15000ms));
}

// The library's entry points over the same session: the name, search, connect and close.
TEST_F(ITunes, TheLibrarysEntryPointsServeMediaITunes)
{
    HMODULE library = LoadLibraryW((testenv::programFolder() / "Tolvanu_iTunes.dll").wstring().c_str());
    ASSERT_TRUE(library);
    auto init = reinterpret_cast<TolvanuInitProc>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_init")));
    auto search = reinterpret_cast<TolvanuSearchProc>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_search")));
    auto connect = reinterpret_cast<TolvanuConnectProc>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_connect")));
    auto close = reinterpret_cast<TolvanuCloseProc>(reinterpret_cast<void*>(GetProcAddress(library, "Tolvanu_close")));
    ASSERT_TRUE(init && search && connect && close);
    char16_t name[256] = {};
    EXPECT_EQ(init(name, hostCallback), 1);
    EXPECT_EQ(std::u16string(name), u"media.iTunes");
    EXPECT_EQ(search(u"media.vlc"), 0);
    EXPECT_EQ(search(u"MEDIA.itunes"), 1);
    const int opened = connect(u"media");
    EXPECT_GT(opened, 0);
    EXPECT_NE(uint32_t(opened), port);
    EXPECT_EQ(close(u"media.iTunes"), 1);
    EXPECT_EQ(close(u"system"), 0);
}
