// What VLC 3's remote control really prints, put through the connector's reply parser: the
// lines the parser's rules were written for, and where this VLC prints them differently.
#include <gtest/gtest.h>

#include "plugins/vlc/replyparser.h"
#include "plugins/vlc/vlcconfig.h"
#include "plugins/vlc/vlcrcfile.h"
#include "vlcpeer.h"
#include "vlcsupport.h"

using namespace vlcreal;
using nettest::waitUntil;

namespace {

constexpr uint32_t remoteControlPort = 6637;

// A plain connection to VLC's remote control that keeps its lines as they came (CR included).
class rawRemote {
public:
    bool connect()
    {
        return waitUntil([&] {
            socket_ = std::make_unique<nettest::peer>(vnet::sock::typeStream);
            return socket_->connect(nettest::loopback, remoteControlPort, 500ms);
        }, 10000ms);
    }

    // The lines VLC prints for a command until done(line) says the reply is over (or 2 s pass),
    // and what else comes within 300 ms after.
    std::vector<std::string> exchange(const std::string& command, const std::function<bool(const std::string&)>& done)
    {
        std::vector<std::string> lines;
        if (!socket_->send(command))
            return lines;
        bool over = false;
        const auto end = std::chrono::steady_clock::now() + 2000ms;
        auto quietUntil = end;
        while (std::chrono::steady_clock::now() < std::min(end, quietUntil)) {
            partial_ += socket_->receive(1, 20ms);
            for (size_t cut; (cut = partial_.find('\n')) != std::string::npos; partial_.erase(0, cut + 1)) {
                lines.push_back(partial_.substr(0, cut));
                if (!over && done(lines.back())) {
                    over = true;
                    quietUntil = std::chrono::steady_clock::now() + 300ms;
                }
            }
        }
        return lines;
    }

    bool closedByVlc()
    {
        bool closed = false;
        socket_->receive(1 << 20, 2000ms, &closed);
        return closed;
    }

private:
    std::unique_ptr<nettest::peer> socket_;
    std::string partial_;
};

std::function<bool(const std::string&)> confirmation(const std::string& word)
{
    return [word](const std::string& line) { return line.rfind(word + ": returned", 0) == 0; };
}

bool anyLine(const std::string&)
{
    return true;
}

bool contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Feeds lines to the parser as one arrival, as the connector would; returns the reports.
std::vector<std::string> parse(vlc::replyParser& parser, const std::vector<std::string>& lines, const char16_t* command)
{
    std::vector<std::string> reports;
    parser.beginData();
    for (const std::string& line : lines) {
        vcore::str text;
        text.assignNarrow(line.c_str());
        for (const vcore::str& r : parser.feedLine(text, vcore::str(command)).reports)
            reports.push_back(vlctest::narrow(r));
    }
    return reports;
}

class RealLines : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string missing = missingForVlc();
        if (!missing.empty())
            GTEST_SKIP() << missing;
        ASSERT_TRUE(home.makeTunes());
        ASSERT_TRUE(home.letVlcWriteItsConfig());
        ASSERT_EQ(vlc::prepareConfig(vlctest::text(home.vlcrc()), vlc::vlcrcOptionsHere(true)).port, 6637);
        ASSERT_TRUE(vlc.start(home, playing(home)));
        ASSERT_TRUE(console.connect());
        ASSERT_TRUE(waitUntil([&] { return console.ask("playlist").find("Charlie Tone") != std::string::npos; },
                              10000ms));
        ASSERT_TRUE(remote.connect());
    }

    vlcHome home;
    vlcProcess vlc;
    vlcConsole console;
    rawRemote remote;
    vlc::vlcState state;
    vlc::replyParser parser{state};
};

} // namespace

TEST_F(RealLines, StatusPlayStateAndSettingLines)
{
    // Every line ends in CR LF; play states come as numbers, with a word after them only some
    // of the time: the key decides then.
    std::vector<std::string> lines = remote.exchange("status\r\n", confirmation("status"));
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines)
        EXPECT_EQ(line.back(), '\r') << line;
    EXPECT_TRUE(contains(lines, "status change: ( play state: 3 )\r"));
    state.playState = vlc::stopped;
    std::vector<std::string> reports = parse(parser, lines, u"status");
    EXPECT_EQ(state.playState, vlc::playing);
    EXPECT_TRUE(contains(reports, "media.speed 1.0"));

    // VLC 3 confirms with "true" and "false" where the parser's rule has "1" and "0".
    lines = remote.exchange("random on\n", confirmation("random"));
    EXPECT_TRUE(contains(lines, "Setting random to true\r"));
    EXPECT_EQ(parse(parser, lines, u"random on"), std::vector<std::string>{"media.shuffle 1"});
    lines = remote.exchange("loop off\n", confirmation("loop"));
    EXPECT_TRUE(contains(lines, "Setting loop to false\r"));
    EXPECT_EQ(parse(parser, lines, u"loop off"), std::vector<std::string>{"media.repeat 0"});

    lines = remote.exchange("volume 128\n", confirmation("volume"));
    EXPECT_TRUE(contains(lines, "status change: ( audio volume: 128 )\r"));
    EXPECT_TRUE(contains(parse(parser, lines, u"volume 128"), "media.volume 25.00"));
}

TEST_F(RealLines, PauseAndWhatVlcSaysWhilePaused)
{
    std::vector<std::string> lines = remote.exchange("pause\n", [](const std::string& l) {
        return l == "status change: ( pause state: 3 ): Pause\r";
    });
    EXPECT_TRUE(contains(lines, "pause: returned 0 (no error)\r"));
    parse(parser, lines, u"pause");
    EXPECT_EQ(state.playState, vlc::paused);

    // Paused, VLC refuses most commands with a line of its own before the confirmation: the
    // parser takes it for the answer, so the confirmation after it must be read at once.
    lines = remote.exchange("volume 256\n", confirmation("volume"));
    EXPECT_TRUE(contains(lines, "Type 'pause' to continue.\r"));
    lines = remote.exchange("seek 5\n", confirmation("seek"));
    EXPECT_TRUE(contains(lines, "Press pause to continue.\r"));

    // Resuming, VLC confirms "pause" before or after its play-state line (both orders happen):
    // the confirmation leaves the state to the status line.
    bool confirmed = false, playing = false;
    lines = remote.exchange("pause\n", [&](const std::string& l) {
        confirmed = confirmed || l == "pause: returned 0 (no error)\r";
        playing = playing || l.find("): Play") != std::string::npos;
        return confirmed && playing;
    });
    ASSERT_TRUE(confirmed && playing);
    state.playState = vlc::playing;
    parse(parser, {"pause: returned 0 (no error)\r"}, u"pause");
    EXPECT_EQ(state.playState, vlc::playing);
    state.playState = vlc::paused;
    parse(parser, lines, u"pause");
    EXPECT_EQ(state.playState, vlc::playing);
}

TEST_F(RealLines, AnswersListsAndTrackChanges)
{
    std::vector<std::string> lines = remote.exchange("get_title\n", anyLine);
    parse(parser, lines, u"get_title");
    EXPECT_EQ(vlctest::narrow(state.title), "Alpha Tone");
    parse(parser, remote.exchange("get_length\n", anyLine), u"get_length");
    EXPECT_EQ(state.length, 20.0);

    lines = remote.exchange("playlist\n", confirmation("playlist"));
    EXPECT_TRUE(contains(lines, "|  - Alpha Tone (00:20)\r"));
    EXPECT_TRUE(contains(lines, "|- Media Library\r"));
    parse(parser, lines, u"playlist");
    ASSERT_EQ(state.list.size(), 3u);
    EXPECT_EQ(vlctest::narrow(state.list[2]), "Charlie Tone");

    // VLC prints its status changes only when the next command comes in: right after "next"
    // the old item is over, the new one not yet seen, and the title is an empty line.
    parse(parser, remote.exchange("next\n", confirmation("next")), u"next");
    lines = remote.exchange("get_title\n", [](const std::string& l) { return l.rfind("status change", 0) != 0; });
    parse(parser, lines, u"get_title");
    EXPECT_TRUE(contains(lines, "status change: ( stop state: 0 )\r"));
    EXPECT_EQ(vlctest::narrow(state.title), "");
    lines = remote.exchange("get_title\n", [](const std::string& l) { return l.rfind("status change", 0) != 0; });
    parse(parser, lines, u"get_title");
    EXPECT_EQ(state.playState, vlc::playing);
    EXPECT_EQ(vlctest::narrow(state.title), "Bravo Tone");

    // "goto 1" (the connector's first entry) plays the last one: VLC 3 counts in the order the
    // entries were made, and made the files on its command line last to first.
    remote.exchange("goto 1\n", confirmation("goto"));
    remote.exchange("get_title\n", anyLine);
    lines = remote.exchange("get_title\n", [](const std::string& l) { return l.rfind("status change", 0) != 0; });
    parse(parser, lines, u"get_title");
    EXPECT_EQ(vlctest::narrow(state.title), "Charlie Tone");

    remote.exchange("logout\n", anyLine);
    EXPECT_TRUE(remote.closedByVlc());
}
