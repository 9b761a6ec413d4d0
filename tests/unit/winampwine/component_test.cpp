#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/doubles/winamp/standinwindow.h"
#include "tests/support/programenv.h"
#include "tests/doubles/winamp/foreign.h"
#include "tests/unit/winampwine/wait.h"

// One component per process, as inside Winamp: the cases run in order over the same one.
namespace {

constexpr int port = 6635;

struct winampProcess {
    standin::winampModel model;
    standin::standinWindow window{model};
    foreign::callbackService service = foreign::makeCallbackService();
    foreign::serviceFactory factory = foreign::makeFactory(service);
    foreign::serviceManager manager = foreign::makeServiceManager(&factory);
    void* component = nullptr;
    void* sysCallback = nullptr;

    winampProcess()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        HMODULE library = LoadLibraryW((testenv::programFolder() / "Cordavelle_winamp.w5s").wstring().c_str());
        auto get = reinterpret_cast<void* (*)()>(
            reinterpret_cast<void*>(GetProcAddress(library, "GetWinamp5SystemComponent")));
        if (get)
            component = get();
    }

    int toComponent(int message)
    {
        void* managerAddress = &manager;
        void* params[] = {&managerAddress};
        return foreign::dispatch(component, message, nullptr, params, 1);
    }
    int event(int number)
    {
        intptr_t one = 0, two = 0;
        void* params[] = {&number, &one, &two};
        int result = -1;
        const int handled = foreign::dispatch(sysCallback, 200, &result, params, 3);
        return handled && result == 0 ? 1 : 0;
    }
};

winampProcess& winamp()
{
    static winampProcess process;
    return process;
}

bool portTaken()
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    const bool taken = bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0;
    closesocket(s);
    return taken;
}

void sendFromHere(const std::string& datagram)
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(s, datagram.data(), int(datagram.size()), 0, reinterpret_cast<sockaddr*>(&a), sizeof a);
    closesocket(s);
}

// Two more polls than now: whatever was sent before has been handled.
bool twoPollsLater()
{
    const int before = winamp().model.asked(250);
    return waitFor([&] { return winamp().model.asked(250) >= before + 2; });
}

} // namespace

TEST(WinampComponent, RegistersItsSystemCallbackThroughTheServiceManager)
{
    winampProcess& w = winamp();
    ASSERT_NE(w.component, nullptr);
    EXPECT_EQ(w.toComponent(10), 1);
    EXPECT_TRUE(w.manager.askedForTheRightGuid);
    EXPECT_EQ(w.factory.lastArgument, 1);
    ASSERT_EQ(w.service.calls.size(), 1u);
    EXPECT_EQ(w.service.calls[0].message, 20);
    EXPECT_EQ(w.service.calls[0].second, 0);
    EXPECT_EQ(w.service.calls[0].count, 2);
    w.sysCallback = w.service.calls[0].callback;
    ASSERT_NE(w.sysCallback, nullptr);
    EXPECT_NE(w.sysCallback, w.component);
}

TEST(WinampComponent, FacesAnswerTheirMessagesThroughBothSlots)
{
    winampProcess& w = winamp();
    uint32_t type = 0;
    EXPECT_EQ(foreign::dispatch(w.sysCallback, 101, &type, nullptr, 0), 1);
    EXPECT_EQ(type, 0x00737663u);
    type = 0;
    EXPECT_EQ(foreign::handler(w.component, 2, 101, &type, nullptr, 0), 1);
    EXPECT_EQ(type, 0x00737663u);

    int core = -1;
    EXPECT_EQ(foreign::handler(w.component, 1, 100, &core, nullptr, 0), 1);  // the core-callback face
    EXPECT_EQ(core, 0);
    EXPECT_EQ(foreign::dispatch(w.component, 999, &core, nullptr, 0), 0);
    EXPECT_EQ(foreign::dispatch(w.sysCallback, 100, &core, nullptr, 0), 0);
    EXPECT_EQ(foreign::handler(w.component, 7, 10, &core, nullptr, 0), 0);
}

TEST(WinampComponent, StartsOnEventTenOnlyOnceWinampsWindowExists)
{
    winampProcess& w = winamp();
    EXPECT_EQ(w.event(10), 1);
    EXPECT_FALSE(portTaken());
    ASSERT_TRUE(w.window.open());
    EXPECT_EQ(w.event(11), 1);
    EXPECT_FALSE(portTaken());
    EXPECT_EQ(w.event(10), 1);
    EXPECT_TRUE(portTaken());
    EXPECT_EQ(w.event(10), 1);  // already open
    EXPECT_TRUE(twoPollsLater());
}

TEST(WinampComponent, CommandsFromThisComputerAreDropped)
{
    winampProcess& w = winamp();
    sendFromHere("media.set_volume 10");
    sendFromHere("media.next");
    ASSERT_TRUE(twoPollsLater());
    EXPECT_EQ(w.model.get().volume, 255);
    EXPECT_TRUE(w.model.pressed().empty());
}

TEST(WinampComponent, SurvivesAFloodOfBadDatagrams)
{
    std::string nul("media.play\0media.stop", 21);
    std::string high = "media.search \xff\xfe\x80";
    std::string huge = "media.set_volume " + std::string(65000, '7');
    for (int i = 0; i < 300; ++i)
        for (const std::string& d : {std::string(), nul, high, huge, std::string("MEDIA.GET_LIST 1")})
            sendFromHere(d);
    EXPECT_TRUE(twoPollsLater());
    EXPECT_TRUE(portTaken());
}

TEST(WinampComponent, CarriesOnWhenWinampsWindowGoesAndComesBack)
{
    winampProcess& w = winamp();
    w.window.close();
    const int before = w.model.asked(250);
    sendFromHere("media.get_state");
    // Long enough for polls to find no window: not a wait for an effect.
    Sleep(2 * 980 + 100);  // two of the component's polls
    ASSERT_TRUE(w.window.open());
    // The poll finds the new window by itself.
    EXPECT_TRUE(waitFor([&] { return w.model.asked(250) > before; }));
}

TEST(WinampComponent, UsesTheKeptServiceWhenTheManagerHasNoFactory)
{
    winampProcess& w = winamp();
    w.manager.factory = nullptr;
    EXPECT_EQ(w.toComponent(10), 1);
    ASSERT_EQ(w.service.calls.size(), 2u);
    EXPECT_EQ(w.service.calls[1].message, 20);
    EXPECT_EQ(w.service.calls[1].callback, w.sysCallback);
}

TEST(WinampComponent, DeregistersAndClosesThePort)
{
    winampProcess& w = winamp();
    EXPECT_EQ(w.toComponent(20), 1);
    ASSERT_EQ(w.service.calls.size(), 3u);
    EXPECT_EQ(w.service.calls[2].message, 10);
    EXPECT_EQ(w.service.calls[2].callback, w.sysCallback);
    EXPECT_EQ(w.service.calls[2].count, 1);
    EXPECT_FALSE(portTaken());
    w.window.close();
}
