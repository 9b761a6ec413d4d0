// Address texts, the port-suffix rule and this host's own addresses.
#include <gtest/gtest.h>

#include "support.h"
#include "vnet/address.h"
#include "vnet/portname.h"

namespace {

using namespace vnet;
using nettest::loopback;

std::string narrow(const vcore::str& text)
{
    std::string out;
    for (int32_t i = 0; i < text.length(); ++i)
        out.push_back(char(text[i]));
    return out;
}

TEST(Address, DottedParserTakesFourDecimalFieldsAndNothingElse)
{
    EXPECT_EQ(parseDottedAddress(u"192.168.1.20"), 0xC0A80114u);
    EXPECT_EQ(parseDottedAddress(u"0.0.0.1"), 1u);
    for (const char16_t* bad : {u"", u"1.2.3", u"1.2.3.4.5", u"256.1.1.1", u"1.2.3.4 ", u"1..2.3",
                                u"1234.1.1.1", u"localhost", u"0x7F.0.0.1", u"-1.2.3.4", u"1.2.3.4:80"})
        EXPECT_EQ(parseDottedAddress(bad), 0u) << narrow(vcore::str(bad));
    const char16_t withNul[] = {u'1', u'.', u'2', u'\0', u'.', u'3', u'.', u'4'};
    EXPECT_EQ(parseDottedAddress(vcore::strview(withNul, 8)), 0u);
}

TEST(Address, ResolveFallsBackToLoopbackForUnparsableTexts)
{
    EXPECT_EQ(resolveAddress(u"10.1.2.3"), 0x0A010203u);
    EXPECT_EQ(resolveAddress(u"255.255.255.255"), loopback);  // all ones counts as unparsable
    EXPECT_EQ(resolveAddress(u""), loopback);
    EXPECT_EQ(resolveAddress(u"0.0.0.0"), loopback);
    EXPECT_EQ(resolveAddress(u"1.2.3.4:26001"), loopback);
    EXPECT_EQ(resolveAddress(u"localhost"), loopback);  // a name: looked up
}

TEST(Address, FormatGivesDottedTextAndNothingForZero)
{
    EXPECT_EQ(narrow(formatAddress(0xC0A80114u)), "192.168.1.20");
    EXPECT_EQ(narrow(formatAddress(broadcastAddress)), "255.255.255.255");
    EXPECT_TRUE(formatAddress(0).empty());
}

TEST(Address, PortSuffixIsTakenOnlyWhenShortAndWhollyNumeric)
{
    struct example {
        const char16_t* name;
        const char* host;
        uint32_t port;
    };
    const example examples[] = {
        {u"host:8080", "host", 8080}, {u"80", "", 80},           {u"host:26001", "host:26001", 7},
        {u"host:0x50", "host", 80},   {u"host:0", "host:0", 7},  {u"host:12ab", "host:12ab", 7},
        {u"a:b:99", "a:b", 99},       {u"host:", "host:", 7},    {u"host", "host", 7},
    };
    for (const example& e : examples) {
        vcore::str name(e.name);
        uint32_t port = 7;
        takePortSuffix(name, port);
        EXPECT_EQ(narrow(name), e.host) << narrow(vcore::str(e.name));
        EXPECT_EQ(port, e.port) << narrow(vcore::str(e.name));
    }
}

TEST(Address, OpenAppliesThePortSuffixRule)
{
    netPort port(nullptr, 6633);
    port.setThreaded(false);
    port.setTimeOut(50);
    port.open(u"127.0.0.1:26001");  // five digits: the whole text stays the name
    EXPECT_EQ(port.portNumber(), 6633u);
    EXPECT_EQ(narrow(port.name()), "127.0.0.1:26001");
    EXPECT_EQ(port.nameAddress(), loopback);
    port.close();

    netPort fresh;
    fresh.setThreaded(false);
    fresh.setTimeOut(50);
    fresh.open(u"80");
    EXPECT_EQ(fresh.portNumber(), 80u);
    EXPECT_TRUE(fresh.name().empty());
    EXPECT_EQ(fresh.nameAddress(), loopback);
}

TEST(Address, MulticastAddressesStayInTheMulticastRange)
{
    EXPECT_EQ(multicastAddress(0xEF010203), 0xEF010203u);  // 239.1.2.3 already is one
    EXPECT_EQ(multicastAddress(loopback), 0xEF000001u);    // 127.0.0.1 -> 239.0.0.1
    EXPECT_EQ(multicastAddress(0x0A010203), 0xEA010203u);  // 10.1.2.3 -> 234.1.2.3
    for (uint32_t first = 0; first < 256; ++first)
        EXPECT_EQ(multicastAddress(first << 24) >> 28, 0xEu) << first;
}

TEST(Address, NearestPrefersTheSameNetwork)
{
    const std::vector<uint32_t> locals = {0x0A000005, 0xC0A80107, 0xC0A80207};  // 10.0.0.5, 192.168.1.7, 192.168.2.7
    EXPECT_EQ(nearestAddress(locals, 0xC0A80114), 0xC0A80107u);  // 192.168.1.20
    EXPECT_EQ(nearestAddress(locals, 0xC0A802FE), 0xC0A80207u);
    EXPECT_EQ(nearestAddress(locals, 0x0A630001), 0x0A000005u);  // 10.99.0.1
    EXPECT_EQ(nearestAddress(locals, 0xC0A80107), 0u);          // itself local
    EXPECT_EQ(nearestAddress({}, 0xC0A80114), 0u);
}

TEST(Address, LocalAddressesComeFromTheOpenSocket)
{
    netPort port(nullptr, 0, netPort::flagDatagram, sock::typeDatagram, sock::protoUdp);
    EXPECT_FALSE(isLocalAddress(port, 0x0A0B0C0D));
    ASSERT_TRUE(port.open(u"127.0.0.1"));
    std::vector<uint32_t> locals;
    ASSERT_TRUE(port.localAddresses(locals));

    EXPECT_TRUE(isLocalAddress(port, loopback));
    EXPECT_TRUE(isLocalAddress(port, u"127.0.0.1"));
    EXPECT_TRUE(isLocalAddress(port, u"2130706433"));
    EXPECT_TRUE(isLocalAddress(port, u"0x7F000001"));
    EXPECT_FALSE(isLocalAddress(port, u"0x7F000002"));
    EXPECT_EQ(nearestLocalAddress(port, loopback), loopback);

    vcore::str text;
    for (size_t i = 0; i < locals.size(); ++i) {
        EXPECT_TRUE(isLocalAddress(port, locals[i]));
        EXPECT_EQ(localAddress(port, int(i), text), locals[i]);
        EXPECT_EQ(narrow(text), narrow(formatAddress(locals[i])));
        EXPECT_EQ(nearestLocalAddress(port, locals[i]), 0u);
    }
    EXPECT_EQ(localAddress(port, int(locals.size()), text), 0u);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(localAddress(port, -1, text), 0u);
    EXPECT_EQ(narrow(text), locals.empty() ? "" : narrow(formatAddress(locals[0])));
}

} // namespace
