// The system service on UDP port 26001: intake, the gate, reports and the poll.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "plugins/common/hostlink.h"
#include "plugins/system/tolvanu_system.h"
#include "recordingmachine.h"
#include "support.h"

using namespace std::chrono_literals;
using nettest::waitUntil;

namespace {

std::mutex hostLock;
std::vector<std::string> hostLines;  // "log: ..." and "ip: ..."

int TOLVANU_STDCALL host(const char16_t* command, const char16_t* argument)
{
    std::lock_guard<std::mutex> hold(hostLock);
    hostLines.push_back(systemtest::narrowed(vcore::str(command)) + ": " +
                        systemtest::narrowed(vcore::str(argument)));
    return 1;
}

bool heard(const std::string& line)
{
    std::lock_guard<std::mutex> hold(hostLock);
    return std::find(hostLines.begin(), hostLines.end(), line) != hostLines.end();
}

size_t heardCount(const std::string& line)
{
    std::lock_guard<std::mutex> hold(hostLock);
    return size_t(std::count(hostLines.begin(), hostLines.end(), line));
}

size_t ipReports()
{
    std::lock_guard<std::mutex> hold(hostLock);
    return size_t(std::count_if(hostLines.begin(), hostLines.end(),
                                [](const std::string& line) { return line.rfind("ip: ", 0) == 0; }));
}

class Port : public ::testing::Test {
protected:
    void SetUp() override
    {
        {
            std::lock_guard<std::mutex> hold(hostLock);
            hostLines.clear();
        }
        plugin::setHostCallback(host);
        auto owned = std::make_unique<systemtest::recordingMachine>();
        pc = owned.get();
        service = std::make_unique<Tolvanu_system>(std::move(owned));
        ASSERT_TRUE(client.bind(nettest::loopback2));
    }

    bool send(const std::string& text, nettest::peer& from)
    {
        return from.sendTo(text, nettest::loopback, Tolvanu_system::servicePort);
    }
    bool waitForCall(const std::string& call)
    {
        return waitUntil([&] {
            auto calls = pc->snapshot();
            return std::find(calls.begin(), calls.end(), call) != calls.end();
        }, 5000ms);
    }
    bool waitToHear(const std::string& line)
    {
        return waitUntil([&] { return heard(line); }, 5000ms);
    }

    systemtest::recordingMachine* pc = nullptr;
    std::unique_ptr<Tolvanu_system> service;
    nettest::peer client;
};

// A client on another host, played by 127.0.0.2. Wine sends from 127.0.0.1 whatever the socket
// is bound to, so there these skip; e2e_system_wine drives the port from a second host.
class RemotePort : public Port {
protected:
    void SetUp() override
    {
        if (!nettest::sourceKept(nettest::loopback2))
            GTEST_SKIP() << "this system sends from 127.0.0.1 whatever the socket is bound to";
        Port::SetUp();
    }
};

TEST_F(Port, OpenFromLoadOnFixedPort)
{
    EXPECT_TRUE(service->isOpen());
    EXPECT_EQ(service->portNumber(), 26001u);
    nettest::peer other;
    EXPECT_FALSE(other.bind(0, Tolvanu_system::servicePort)) << "the service holds the port";
    EXPECT_EQ(service->connectSession(), 26001u);
    service->closeSession();
    EXPECT_TRUE(service->isOpen()) << "close keeps the port";
}

TEST_F(RemotePort, InputWaitsForTheHubsSession)
{
    ASSERT_TRUE(send("k 30", client));
    ASSERT_TRUE(send("M 1 1", client));
    EXPECT_TRUE(waitToHear("log: [system] commands from 127.0.0.2 ignored: no session open"));
    service->connectSession();
    ASSERT_TRUE(send("k 0xE04D", client));
    EXPECT_TRUE(waitForCall("down E04D ext"));
    EXPECT_TRUE(heard("log: [system:127.0.0.2]  k 0xE04D"));
    EXPECT_EQ(pc->snapshot(), (std::vector<std::string>{"down E04D ext"}));
    EXPECT_EQ(heardCount("log: [system] commands from 127.0.0.2 ignored: no session open"), 1u);
    service->closeSession();
    ASSERT_TRUE(send("K 0xE04D", client));
    ASSERT_TRUE(send("F", client));
    ASSERT_TRUE(send("system.get_state", client));  // answered, so the two before were read
    EXPECT_TRUE(waitToHear("log: [media>127.0.0.2] system.volume 50.0"));
    EXPECT_EQ(pc->snapshot().size(), 1u);
}

TEST_F(RemotePort, TextsFromThisHostWaitForARemoteClient)
{
    service->connectSession();
    nettest::peer local;
    ASSERT_TRUE(local.bind(nettest::loopback));
    ASSERT_TRUE(send("F", local));
    ASSERT_TRUE(send("Ml", client));
    EXPECT_TRUE(waitForCall("left down"));
    EXPECT_EQ(pc->snapshot(), (std::vector<std::string>{"left down"})) << "the local F was skipped";
    EXPECT_EQ(ipReports(), 1u) << "the host hears where each handled text came from";
    // Once a client has spoken, this host's texts are taken as its.
    ASSERT_TRUE(send("F", local));
    EXPECT_TRUE(waitForCall("beep"));
    EXPECT_EQ(ipReports(), 2u);
}

TEST_F(RemotePort, UnicodeTextsAreDecoded)
{
    service->connectSession();
    ASSERT_TRUE(send("\xC3\xA9t\xC3\xA9 1", client));
    EXPECT_TRUE(waitToHear("log: [system:127.0.0.2]  \xE9t\xE9 1"));
}

TEST_F(RemotePort, PollReportsChangesWhileActive)
{
    service->connectSession();
    ASSERT_TRUE(send("system.set_volume 50", client));
    EXPECT_TRUE(waitForCall("volume 0.500"));
    pc->volume = 0.2f;  // changed from outside
    EXPECT_TRUE(waitToHear("log: [media>127.0.0.2] system.volume 20.0"));
    EXPECT_EQ(heardCount("log: [media>127.0.0.2] system.volume 50.0"), 0u) << "the set value needs no report";
}

// The port wakes once a second only while the tick has work; a connect from the hub's thread
// ends a wait that had no time-out, so the first poll comes without any datagram.
TEST_F(RemotePort, QuietTicksOnlyWhileThereIsWork)
{
    const std::string ignored = "log: [system] commands from 127.0.0.2 ignored: no session open";
    EXPECT_EQ(service->timeOut(), vcore::ioport::noTimeOut) << "nothing to poll after load";
    ASSERT_TRUE(send("M 1 1", client));
    EXPECT_TRUE(waitToHear(ignored));
    EXPECT_TRUE(waitUntil([&] { return service->timeOut() == vcore::ioport::noTimeOut; }, 5000ms))
        << "a quiet tick ends the burst, then the port sleeps";
    ASSERT_TRUE(send("M 1 1", client));
    EXPECT_TRUE(waitUntil([] { return heardCount("log: [system] commands from 127.0.0.2 ignored: no session open") == 2; },
                          5000ms)) << "the next burst is logged again";
    ASSERT_TRUE(waitUntil([&] { return service->timeOut() == vcore::ioport::noTimeOut; }, 5000ms));

    service->connectSession();
    EXPECT_EQ(service->timeOut(), Tolvanu_system::pollMs);
    pc->volume = 0.3f;
    EXPECT_TRUE(waitToHear("log: [media>127.0.0.2] system.volume 30.0")) << "polled with no datagram sent";
    service->closeSession();
    EXPECT_TRUE(waitUntil([&] { return service->timeOut() == vcore::ioport::noTimeOut; }, 5000ms));
    pc->volume = 0.4f;
    ASSERT_TRUE(send("system.get_state", client));  // a state request alone makes it active again
    EXPECT_TRUE(waitToHear("log: [media>127.0.0.2] system.volume 40.0"));
    EXPECT_EQ(service->timeOut(), Tolvanu_system::pollMs);
}

TEST_F(RemotePort, InitAnswersWithTheVolumeAfterAPause)
{
    ASSERT_TRUE(send("system.init", client));
    EXPECT_TRUE(waitToHear("log: [media>127.0.0.2] system.volume 50.0"));
    EXPECT_TRUE(waitForCall("pause 100"));
    ASSERT_TRUE(send("system.init 10.1.2.3", client));
    ASSERT_TRUE(send("system.get_state", client));
    EXPECT_TRUE(waitUntil([] { return heardCount("log: [media>127.0.0.2] system.volume 50.0") == 2; }, 5000ms));
    EXPECT_EQ(pc->snapshot(), (std::vector<std::string>{"pause 100"})) << "no answer to another PC's init";
}

} // namespace

namespace {

// A volume read that outlasts close()'s own waits, as a sound server's round trip may, and a
// destructor that notes whether a read was still under way.
class slowMachine : public systemtest::recordingMachine {
public:
    slowMachine(std::atomic<bool>& reading, std::atomic<bool>& goneWhileReading)
        : reading_(reading), goneWhileReading_(goneWhileReading)
    {
    }
    ~slowMachine() override { goneWhileReading_ = reading_.load(); }
    bool readVolume(float& scalar) override
    {
        reading_ = true;
        std::this_thread::sleep_for(700ms);
        scalar = 0.5f;
        reading_ = false;
        return true;
    }

private:
    std::atomic<bool>& reading_;
    std::atomic<bool>& goneWhileReading_;
};

} // namespace

TEST(PortEnd, MachineOutlivesAReadStillUnderWay)
{
    plugin::setHostCallback(host);
    std::atomic<bool> reading{false};
    std::atomic<bool> goneWhileReading{false};
    auto service = std::make_unique<Tolvanu_system>(std::make_unique<slowMachine>(reading, goneWhileReading));
    ASSERT_EQ(service->connectSession(), Tolvanu_system::servicePort);
    // The poll of an open session reads the volume.
    ASSERT_TRUE(waitUntil([&] { return reading.load(); }, 5000ms));
    service.reset();
    EXPECT_FALSE(goneWhileReading.load());
}
