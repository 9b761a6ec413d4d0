// The rules of the four exports over a session: init, and which names each export takes.
#include <gtest/gtest.h>

#include "plugins/common/exports.h"
#include "plugins/common/hostlink.h"
#include "probe.h"

using namespace frametest;

namespace {

class Exports : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearTimeline();
        plugin::setHostCallback(nullptr);
    }

    std::u16string filled() const { return std::u16string(buffer, buffer + 3); }

    probeSession vlc{u"media.VLC"};
    char16_t buffer[tolvanuNameRoom] = {u'?', u'?', u'?', 0};
};

} // namespace

TEST_F(Exports, InitWritesTheServiceNameAndAnswersTheOrderKey)
{
    plugin::exports rules(vlc);
    EXPECT_EQ(rules.init(buffer, &recordingCallback), 1);
    EXPECT_EQ(std::u16string(buffer), u"media.VLC");
    EXPECT_EQ(plugin::hostCallback(), &recordingCallback);

    probeSession system(u"system");
    plugin::exports systemRules(system, {256, true});
    EXPECT_EQ(systemRules.init(buffer, &recordingCallback), 256);
    EXPECT_EQ(std::u16string(buffer), u"system");
}

TEST_F(Exports, InitRefusesWithoutABufferOrWhenPreparationFails)
{
    plugin::exports lenient(vlc);
    plugin::exports strict(vlc, {1, true});
    EXPECT_EQ(lenient.init(nullptr, &recordingCallback), 0);
    EXPECT_EQ(strict.init(buffer, nullptr), 0);
    EXPECT_EQ(filled(), u"???");
    // A lenient plug-in keeps even a null callback.
    plugin::setHostCallback(&recordingCallback);
    EXPECT_EQ(lenient.init(buffer, nullptr), 1);
    EXPECT_EQ(plugin::hostCallback(), nullptr);

    vlc.prepared = false;
    buffer[0] = u'?';
    EXPECT_EQ(lenient.init(buffer, &recordingCallback), 0);
    EXPECT_EQ(buffer[0], u'?') << "a refused init writes no name";
}

TEST_F(Exports, NamesAreTheClassOrTheWholeServiceNameIgnoringAsciiCase)
{
    plugin::exports rules(vlc);
    for (const char16_t* name : {u"media.vlc", u"MEDIA.VLC", u"Media", u"media"})
        EXPECT_EQ(rules.search(name), 1) << narrow(vcore::str(name));
    for (const char16_t* name : {u"media.vlc2", u"system", u"VLC", u"", u"media.", u"m\u00e9dia"})
        EXPECT_EQ(rules.search(name), 0) << narrow(vcore::str(name));
    EXPECT_EQ(rules.search(nullptr), 0);

    probeSession system(u"system");
    plugin::exports systemRules(system);
    EXPECT_EQ(systemRules.search(u"SYSTEM"), 1);
    EXPECT_EQ(systemRules.search(u"system.system"), 0);
}

TEST_F(Exports, SearchAlsoNeedsThePlayer)
{
    plugin::exports rules(vlc);
    vlc.reachable = false;
    EXPECT_EQ(rules.search(u"media"), 0);
    EXPECT_EQ(timeline(), (std::vector<std::string>{"present"}));
}

TEST_F(Exports, ConnectAndCloseLeaveOtherServicesAlone)
{
    plugin::exports rules(vlc);
    plugin::setHostCallback(&recordingCallback);
    EXPECT_EQ(rules.connect(u"system"), 0);
    EXPECT_EQ(rules.connect(nullptr), 0);
    EXPECT_EQ(rules.close(u"media.itunes"), 0);
    EXPECT_TRUE(timeline().empty()) << "neither sequence may start";

    // Close takes the empty name too. The port is not open, so nothing is sent.
    EXPECT_EQ(rules.close(u""), 1);
    EXPECT_EQ(rules.close(nullptr), 1);
    EXPECT_EQ(rules.close(u"MEDIA"), 1);
    EXPECT_EQ(timeline().front(), "closing");
}
