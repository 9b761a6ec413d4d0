// The service's command logic: what each client text does to the PC and what it reports.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "plugins/system/systemservice.h"
#include "recordingmachine.h"

using namespace systemtest;
using Calls = std::vector<std::string>;

namespace {

class Service : public ::testing::Test {
protected:
    void SetUp() override { service.connect(); }

    void send(const char16_t* text) { service.handle(vcore::str(text), vcore::str(u"10.0.0.9")); }
    Calls take()
    {
        Calls out;
        out.swap(pc.calls);
        return out;
    }

    recordingMachine pc;
    recordingOutlet out;
    vcore::semaphore lock;
    systemctl::systemService service{pc, out, lock};
};

TEST_F(Service, KeysKeepTheirCaseAndMarkExtendedCodes)
{
    send(u"k 0x1E");
    send(u"K 30");
    send(u"k 0xE04D");
    send(u"K 57421");  // 0xE04D in decimal
    send(u"k 0xDFFF");
    EXPECT_EQ(take(), (Calls{"down 1E", "up 1E", "down E04D ext", "up E04D ext", "down DFFF"}));
    // Only the "system." names are lowered: these are unknown.
    send(u"KK 30");
    send(u"m 1 1");
    send(u"ms 120");
    send(u"f");
    EXPECT_TRUE(take().empty());
}

TEST_F(Service, MouseMovesButtonsAndWheel)
{
    send(u"M 10 -5");
    send(u"Ml");
    send(u"ML");
    send(u"Mr");
    send(u"MR");
    send(u"Mm");
    send(u"MM");
    send(u"MS 60");
    send(u"MS -1");
    send(u"F");
    EXPECT_EQ(take(), (Calls{"move 10 -5", "left down", "left up", "right down", "right up", "middle down",
                             "middle up", "wheel 120", "wheel -2", "beep"}));
}

TEST_F(Service, MissingOrOddArgumentsReadAsZero)
{
    send(u"k");
    send(u"M 7");
    send(u"M abc 0x10");
    send(u"MS x");
    // Two spaces: the argument is the empty field between them.
    send(u"M  5");
    EXPECT_EQ(take(), (Calls{"down 0", "move 7 0", "move 0 16", "wheel 0", "move 0 5"}));
}

TEST_F(Service, HugeAndNonAsciiArgumentsAreHarmless)
{
    vcore::str digits;
    for (int i = 0; i < 65536; ++i)
        digits.append(u'9');
    service.handle(vcore::str::formatted(u"M %s -%s", digits.data(), digits.data()), vcore::str(u"10.0.0.9"));
    service.handle(vcore::str::formatted(u"MS %s", digits.data()), vcore::str(u"10.0.0.9"));
    service.handle(vcore::str::formatted(u"system.set_volume %s", digits.data()), vcore::str(u"10.0.0.9"));
    send(u"k \u00e9\u00ff\u4e2d");
    send(u"\u00e9 1");
    const Calls calls = take();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], "move 2147483647 -2147483648");
    EXPECT_EQ(calls[1], "wheel -2");  // the doubled value wraps in 32 bits
    EXPECT_EQ(calls[3], "down 0");
}

TEST_F(Service, StepKeysRememberTheLastStep)
{
    send(u"P 25");
    EXPECT_EQ(take(), (Calls{"down E04D ext", "pause 0", "up E04D ext", "pause 0",
                             "down E04D ext", "pause 0", "up E04D ext", "pause 0"}));
    send(u"P 10");
    EXPECT_EQ(take(), (Calls{"down E04B ext", "pause 0", "up E04B ext", "pause 0"}));
    send(u"P 9");
    send(u"P 15");  // still one step
    EXPECT_TRUE(take().empty());
    EXPECT_EQ(service.lastStep(), 1);
    send(u"P -20");
    EXPECT_EQ(take().size(), 12u);  // three presses to the left
    EXPECT_EQ(service.lastStep(), -2);
}

TEST_F(Service, OneStepCommandSendsAtMostAHundredPresses)
{
    send(u"P 2000000000");
    const Calls calls = take();
    EXPECT_EQ(calls.size(), 4u * 100u);
    EXPECT_EQ(calls.front(), "down E04D ext");
    EXPECT_EQ(service.lastStep(), 200000000) << "the position is still taken as reached";
    send(u"P 1999999990");  // one step back from there: one press
    EXPECT_EQ(take(), (Calls{"down E04B ext", "pause 0", "up E04B ext", "pause 0"}));
    send(u"P -2147483648");
    EXPECT_EQ(take().size(), 4u * 100u);
    EXPECT_EQ(service.lastStep(), -214748364);
}

TEST_F(Service, VolumeSetAndAdd)
{
    send(u"SYSTEM.SET_VOLUME 35");
    send(u"system.add_volume -10");
    send(u"System.Set_Volume 12,5");
    EXPECT_EQ(take(), (Calls{"volume 0.350", "volume 0.250", "volume 0.125"}));
    EXPECT_DOUBLE_EQ(service.currentVolume(), 12.5);
    // Out of range: the device refuses, the stored value keeps it until the poll.
    send(u"system.add_volume 100");
    EXPECT_DOUBLE_EQ(service.currentVolume(), 112.5);
    EXPECT_FLOAT_EQ(pc.volume, 0.125f);
    service.poll();
    EXPECT_EQ(out.reports, (Calls{"system.volume 12.5 (logged)"}));
}

TEST_F(Service, PollReportsOnlyChangesAndOnlyWhileActive)
{
    send(u"system.set_volume 50");
    service.poll();
    EXPECT_TRUE(out.reports.empty());
    pc.volume = 0.75f;
    service.poll();
    service.poll();
    EXPECT_EQ(out.reports, (Calls{"system.volume 75.0 (logged)"}));
    service.close();
    pc.volume = 0.25f;
    service.poll();
    EXPECT_EQ(out.reports.size(), 1u);
}

TEST_F(Service, WithoutADeviceVolumeIsStoredAndReportedAsMinus100)
{
    pc.hasDevice = false;
    send(u"system.set_volume 40");
    EXPECT_DOUBLE_EQ(service.currentVolume(), 40.0);
    send(u"system.get_state");
    send(u"system.get_state");
    EXPECT_EQ(out.reports, (Calls{"system.volume -100.0 (logged)", "system.volume -100.0 (logged)"}));
}

TEST_F(Service, VolumeWorkWaitsForTheLockAndIsDroppedWithoutIt)
{
    ASSERT_TRUE(lock.wait(0));
    std::thread other([&] { send(u"system.set_volume 10"); });
    other.join();  // gives up after its bounded wait
    service.poll();
    lock.release();
    EXPECT_TRUE(pc.calls.empty());
    EXPECT_TRUE(out.reports.empty());
    EXPECT_DOUBLE_EQ(service.currentVolume(), 0.0);
}

TEST_F(Service, InitAnswersOnlyForThisHost)
{
    send(u"system.init 10.0.0.77");
    EXPECT_TRUE(out.reports.empty());
    send(u"system.init");
    send(u"SYSTEM.INIT 10.0.0.5");
    EXPECT_EQ(out.reports, (Calls{"system.app DESK:system control", "system.volume 50.0 (logged)",
                                  "system.app DESK:system control", "system.volume 50.0 (logged)"}));
    EXPECT_EQ(take(), (Calls{"pause 100", "pause 100"}));
}

TEST_F(Service, PinMaximisesThenRestoresTheSameWindow)
{
    pc.front = 7;
    send(u"system.pin");
    pc.front = 8;
    send(u"system.pin");
    EXPECT_EQ(take(), (Calls{"maximise 7", "caption 7 1024", "restore 7"}));
    EXPECT_EQ(out.logs.back(), "[system:10.0.0.9]  system.pin");
    EXPECT_EQ(out.logs[out.logs.size() - 2], "[system.pinned] Window 7");
}

TEST_F(Service, PinForgetsAClosedWindow)
{
    pc.front = 7;
    send(u"system.pin");
    pc.closedWindows.push_back(7);
    pc.front = 9;
    send(u"system.pin");
    EXPECT_EQ(take(), (Calls{"maximise 7", "caption 7 1024", "maximise 9", "caption 9 1024"}));
    EXPECT_EQ(service.pinned(), 9u);
    pc.front = 0;
    send(u"system.pin");
    send(u"system.pin");  // nothing pinned, nothing in front
    EXPECT_EQ(take(), (Calls{"restore 9"}));
}

TEST_F(Service, ReceivedTextsAreLoggedWithTwoSpaces)
{
    send(u"F");
    send(u"nothing 1");
    EXPECT_EQ(out.logs, (Calls{"[system:10.0.0.9]  F", "[system:10.0.0.9]  nothing 1"}));
}

class Gate : public Service {
protected:
    void SetUp() override {}

    void everything()
    {
        for (const char16_t* text : {u"k 30", u"K 30", u"P 30", u"M 1 1", u"Ml", u"ML", u"Mr", u"MR", u"Mm",
                                     u"MM", u"MS 120", u"F", u"system.set_volume 5", u"system.add_volume 5",
                                     u"system.pin"})
            send(text);
    }
};

TEST_F(Gate, NothingActsOnThePcBeforeConnect)
{
    pc.front = 3;
    everything();
    EXPECT_TRUE(pc.calls.empty());
    EXPECT_DOUBLE_EQ(service.currentVolume(), 0.0);
    EXPECT_EQ(out.logs, (Calls{"[system] commands from 10.0.0.9 ignored: no session open"}));
    service.connect();
    everything();
    EXPECT_FALSE(pc.calls.empty());
}

TEST_F(Gate, CloseShutsItAgain)
{
    service.connect();
    send(u"k 30");
    service.close();
    take();
    everything();
    EXPECT_TRUE(pc.calls.empty());
    EXPECT_FALSE(service.active());
}

TEST_F(Gate, GetStateAloneReportsButDoesNotOpen)
{
    send(u"system.get_state");
    EXPECT_TRUE(service.active());
    EXPECT_EQ(out.reports, (Calls{"system.volume 50.0 (logged)"}));
    everything();
    EXPECT_TRUE(pc.calls.empty());
    send(u"system.init");
    EXPECT_EQ(out.reports.size(), 3u);
    EXPECT_FALSE(service.sessionOpen());
}

TEST_F(Gate, OneLogLinePerBurst)
{
    for (int i = 0; i < 50; ++i)
        send(u"k 30");
    EXPECT_EQ(out.logs.size(), 1u);
    service.poll();  // a quiet second ends the burst
    send(u"k 30");
    send(u"unknown");
    EXPECT_EQ(out.logs.size(), 2u);
}

} // namespace
