#include "tests/e2e/flood/junk.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using namespace std::string_literals;

flood::junkMaker maker(uint64_t seed = 1)
{
    return flood::junkMaker(seed, "10.66.0.1", "10.66.0.2", "echo");
}

bool brokenUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0xC0 || c == 0xC1 || c >= 0xF5 || (c >= 0x80 && c < 0xC0 && (i == 0 || static_cast<unsigned char>(text[i - 1]) < 0x80)))
            return true;
    }
    return false;
}

TEST(FloodJunk, ReadsAddressesAsTheHubDoes)
{
    EXPECT_EQ(flood::dottedAddress("10.66.0.2"), 0x0A420002u);
    EXPECT_EQ(flood::dottedAddress("255.255.255.255"), 0xFFFFFFFFu);
    EXPECT_EQ(flood::dottedAddress("10.66.0.6667"), 0u);
    EXPECT_EQ(flood::dottedAddress("10.66.0.256"), 0u);
    EXPECT_EQ(flood::dottedAddress("10.66.0"), 0u);
    EXPECT_EQ(flood::dottedAddress("10.66.0.2 "), 0u);
    EXPECT_EQ(flood::dottedAddress(""), 0u);
}

TEST(FloodJunk, KnowsWhatWouldEndTheSessionOrLeaveTheTestHosts)
{
    const flood::junkMaker junk = maker();
    EXPECT_TRUE(junk.harmfulForDiscovery("close;echo;"));
    EXPECT_TRUE(junk.harmfulForDiscovery("close;echo"));
    EXPECT_TRUE(junk.harmfulForDiscovery("close;echo\0;more"s));
    EXPECT_TRUE(junk.harmfulForDiscovery("open;echo;10.66.0.2;Phone:1;"));
    EXPECT_TRUE(junk.harmfulForDiscovery("open;echo;10.66.0.2"));
    EXPECT_TRUE(junk.harmfulForDiscovery("whoami;192.0.2.7;"));
    EXPECT_TRUE(junk.harmfulForDiscovery("whoami;10.66.0.3\0x"s));

    EXPECT_FALSE(junk.harmfulForDiscovery("close;Echo;"));
    EXPECT_FALSE(junk.harmfulForDiscovery("close\0;echo;"s));
    EXPECT_FALSE(junk.harmfulForDiscovery("open;echo;10.66.0.9;Phone:1;"));
    EXPECT_FALSE(junk.harmfulForDiscovery("open;echo;10.66.0.22;"));
    EXPECT_FALSE(junk.harmfulForDiscovery("whoami;10.66.0.1;"));
    EXPECT_FALSE(junk.harmfulForDiscovery("whoami;;"));
    EXPECT_FALSE(junk.harmfulForDiscovery("whoami;999.1.1.1;"));
    EXPECT_FALSE(junk.harmfulForDiscovery("whoami;127.0.0.1;"));
    EXPECT_FALSE(junk.harmfulForDiscovery("search;echo;10.66.0.2;"));
}

// The mix the flood promises, and none of it harmful, over many lines of several seeds.
TEST(FloodJunk, DiscoveryLinesAreVariedAndHarmless)
{
    std::set<std::string> words;
    int withNul = 0, broken = 0, overlong = 0, tooLarge = 0, harmful = 0;
    for (uint64_t seed : {1u, 7u, 12345u}) {
        flood::junkMaker junk = maker(seed);
        for (int i = 0; i < 20000; ++i) {
            const std::string line = junk.discoveryLine();
            words.insert(line.substr(0, line.find_first_of(";"s + '\0')));
            withNul += line.find('\0') != std::string::npos;
            broken += brokenUtf8(line);
            overlong += line.size() > 1000;
            tooLarge += line.size() > 1400;
            harmful += junk.harmfulForDiscovery(line);
        }
    }
    EXPECT_EQ(harmful, 0);
    EXPECT_EQ(tooLarge, 0);
    for (const char* word : {"whois", "whoami", "youare", "thankyou", "search", "server", "open", "connect", "close"})
        EXPECT_TRUE(words.count(word)) << word;
    EXPECT_GT(withNul, 1000);
    EXPECT_GT(broken, 1000);
    EXPECT_GT(overlong, 500);
}

TEST(FloodJunk, SessionLinesAndRandomBytesCoverTheirRanges)
{
    flood::junkMaker junk = maker(3);
    std::set<std::string> words;
    size_t shortest = 9999, longest = 0;
    int withNul = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string line = junk.sessionLine();
        words.insert(line.substr(0, line.find_first_of(" "s + '\0')));
        withNul += line.find('\0') != std::string::npos;
        EXPECT_LE(line.size(), 1400u);
        const std::string bytes = junk.randomBytes();
        shortest = std::min(shortest, bytes.size());
        longest = std::max(longest, bytes.size());
    }
    EXPECT_GT(words.size(), 25u);
    EXPECT_TRUE(words.count("media.set_volume"));
    EXPECT_GT(withNul, 1000);
    EXPECT_LT(shortest, 10u);
    EXPECT_GT(longest, 1390u);
    EXPECT_LE(longest, 1400u);
    // Not one stream for every seed.
    EXPECT_NE(maker(1).randomBytes(), maker(2).randomBytes());
}

} // namespace
