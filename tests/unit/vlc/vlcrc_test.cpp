// Reading VLC's configuration for its remote-control port, and rewriting it.
#include <gtest/gtest.h>

#include "tests/unit/media/narrow.h"
#include "plugins/vlc/vlcrc.h"

using vcore::str;
using vlc::readVlcrc;
using vlc::vlcrcOptions;

namespace {

const vlcrcOptions readOnly{false, u"\r\n", false};
const vlcrcOptions windows{true, u"\r\n", false};
const vlcrcOptions linuxRewrite{true, u"\n", true};

// As VLC writes it with every default: the keys are commented out.
const char16_t* const defaults =
    u"[core]\n#extraintf=\n[oldrc]\n#rc-show-pos=0\n#rc-fake-tty=0\n#rc-host=\n#rc-quiet=0\n";

TEST(Vlcrc, EnabledLoopbackPortIsUsedAsItIs)
{
    const auto r = readVlcrc(str(u"[core]\nextraintf=oldrc\n[oldrc]\nrc-host=127.0.0.1:4212\n"), windows);
    EXPECT_EQ(r.port, 4212);
    EXPECT_TRUE(r.usable);
    EXPECT_FALSE(r.rewrite);

    EXPECT_EQ(readVlcrc(str(u"extraintf=oldrc\r\nrc-host=LocalHost:4212\r\n"), readOnly).port, 4212);
}

TEST(Vlcrc, CommentedKeysAreRewrittenInPlaceWithCrLf)
{
    const auto r = readVlcrc(str(defaults), windows);
    EXPECT_EQ(r.port, 6637);
    EXPECT_FALSE(r.usable);
    ASSERT_TRUE(r.rewrite);
    EXPECT_EQ(narrow(r.text),
              "[core]\r\nextraintf=oldrc\r\n[oldrc]\r\n#rc-show-pos=0\r\n#rc-fake-tty=0\r\n"
              "rc-host=localhost:6637\r\nrc-quiet=1\r\n");
}

TEST(Vlcrc, WithoutPermissionNothingIsRewritten)
{
    const auto r = readVlcrc(str(defaults), readOnly);
    EXPECT_EQ(r.port, -1);
    EXPECT_FALSE(r.rewrite);
    EXPECT_TRUE(r.text.empty());

    // Port found but the interface not enabled: the port is reported, not usable.
    const auto found = readVlcrc(str(u"rc-host=localhost:4212\n"), readOnly);
    EXPECT_EQ(found.port, 4212);
    EXPECT_FALSE(found.usable);
}

TEST(Vlcrc, UnusableHostsAndPortsAreReplaced)
{
    for (const char16_t* host : {u"rc-host=192.168.0.2:4212", u"rc-host=localhost:", u"rc-host=localhost",
                                 u"rc-host=localhost:0", u"rc-host=localhost:70000", u"rc-host=localhost:x"}) {
        str text(u"extraintf=oldrc\n");
        text.append(host);
        const auto r = readVlcrc(text, windows);
        EXPECT_FALSE(r.usable) << narrow(text);
        EXPECT_EQ(r.port, 6637) << narrow(text);
        EXPECT_EQ(narrow(r.text), "extraintf=oldrc\r\nrc-host=localhost:6637\r\n");
    }
}

TEST(Vlcrc, OnlyTheFirstHostLineIsRewritten)
{
    const auto r = readVlcrc(str(u"#rc-host=\n#rc-host=old:1\n"), windows);
    EXPECT_EQ(narrow(r.text), "rc-host=localhost:6637\r\n#rc-host=old:1\r\n");
}

TEST(Vlcrc, WithoutAnyHostLineThereIsNoPort)
{
    const auto r = readVlcrc(str(u"#extraintf=\r\n#rc-quiet=0\r\n"), windows);
    EXPECT_EQ(r.port, -1);
    EXPECT_TRUE(r.rewrite);
    EXPECT_EQ(narrow(r.text), "extraintf=oldrc\r\nrc-quiet=1\r\n");

    EXPECT_EQ(readVlcrc(str(), windows).port, -1);
}

TEST(Vlcrc, LinuxGetsLfAndAFakeTty)
{
    // A file once written with CR LF loses its CRs: Linux VLC would keep them in the values.
    auto r = readVlcrc(str(u"[core]\r\n#extraintf=\r\n[oldrc]\r\n#rc-fake-tty=0\r\n#rc-host=\r\n"), linuxRewrite);
    EXPECT_EQ(narrow(r.text), "[core]\nextraintf=oldrc\n[oldrc]\nrc-fake-tty=1\nrc-host=localhost:6637\n");

    r = readVlcrc(str(u"#extraintf=\n#rc-host=\nlast=1"), linuxRewrite);
    EXPECT_EQ(narrow(r.text), "extraintf=oldrc\nrc-host=localhost:6637\nrc-fake-tty=1\nlast=1\n");
    EXPECT_EQ(r.port, 6637);
}

// Found by fuzz_vlcrc: "++\x8a\r\r" lost one CR per rewrite, so each rewrite changed it again.
TEST(Vlcrc, ALineEndingInSeveralCrsIsWrittenOnceAndThenKept)
{
    auto r = readVlcrc(str(u"#extraintf=\n#rc-host=\n++\x8a\r\r"), linuxRewrite);
    ASSERT_TRUE(r.rewrite);
    EXPECT_EQ(narrow(r.text), "extraintf=oldrc\nrc-host=localhost:6637\nrc-fake-tty=1\n++\x8a\n");
    const auto again = readVlcrc(str(u"#extraintf=\n#rc-host=\nkeep=1\r\r\n"), linuxRewrite);
    const auto twice = readVlcrc(str(u"#extraintf=\n#rc-host=\nkeep=1\n"), linuxRewrite);
    EXPECT_EQ(narrow(again.text), narrow(twice.text));
}

// Found by fuzz_vlcrc: the fake-tty key sharing the host's line went with it and came back
// only at the next rewrite.
TEST(Vlcrc, AFakeTtyKeyOnTheHostLineIsWrittenAgain)
{
    const auto r = readVlcrc(str(u"[oldrc]\r\nrc-host=x:1 rc-fake-tty=0\r\n"), linuxRewrite);
    EXPECT_EQ(narrow(r.text), "[oldrc]\nrc-host=localhost:6637\nrc-fake-tty=1\n");
    EXPECT_EQ(narrow(readVlcrc(r.text, linuxRewrite).text), narrow(r.text));
}

// Found by fuzz_vlcrc: a second host line in force kept its port, which the reading takes.
TEST(Vlcrc, EveryHostLineInForceGetsTheNewPort)
{
    const auto r = readVlcrc(str(u"extraintf=oldrc\r\nrc-host=localhost:84\r\nrc-host=localhost:99999\r\n"), windows);
    EXPECT_EQ(narrow(r.text), "extraintf=oldrc\r\nrc-host=localhost:6637\r\nrc-host=localhost:6637\r\n");
    const auto again = readVlcrc(r.text, windows);
    EXPECT_TRUE(again.usable);
    EXPECT_EQ(again.port, 6637);
}

// Found by fuzz_vlcrc: the fake-tty key on a second host line in force went with that line.
TEST(Vlcrc, AFakeTtyKeyOnALaterHostLineIsWrittenAgain)
{
    const auto r = readVlcrc(str(u"rc-host=]\nrc-fake-tty=0 rc-host=\n"), linuxRewrite);
    EXPECT_EQ(narrow(r.text), "rc-host=localhost:6637\nrc-fake-tty=1\nrc-host=localhost:6637\n");
    EXPECT_EQ(narrow(readVlcrc(r.text, linuxRewrite).text), narrow(r.text));
}

// Found by fuzz_vlcrc: a fake-tty key on a quiet or interface line went with that line, so the
// next rewrite added one.
TEST(Vlcrc, AFakeTtyKeyOnALineRewrittenForAnotherKeyIsWrittenAgain)
{
    const auto quiet = readVlcrc(str(u"rc-host=\n#rc-quiet=0 rc-fake-tty=0\n"), linuxRewrite);
    EXPECT_EQ(narrow(quiet.text), "rc-host=localhost:6637\nrc-fake-tty=1\nrc-quiet=1\n");
    EXPECT_EQ(narrow(readVlcrc(quiet.text, linuxRewrite).text), narrow(quiet.text));

    const auto interface = readVlcrc(str(u"rc-fake-tty=0 extraintf=\nrc-host=\n"), linuxRewrite);
    EXPECT_EQ(narrow(interface.text), "extraintf=oldrc\nrc-host=localhost:6637\nrc-fake-tty=1\n");
    EXPECT_TRUE(readVlcrc(interface.text, linuxRewrite).usable);
}

TEST(Vlcrc, CommentLinesDoNotCountWhenReading)
{
    const auto r = readVlcrc(str(u"#extraintf=oldrc\nrc-host=localhost:4212\n"), readOnly);
    EXPECT_EQ(r.port, 4212);
    EXPECT_FALSE(r.usable);
    EXPECT_EQ(readVlcrc(str(u"extraintf=oldrc\n#rc-host=localhost:4212\n"), readOnly).port, -1);
}

} // namespace
