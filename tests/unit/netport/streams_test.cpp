// The stream base: copyTo between streams and the text convention's reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "vcore/ioport.h"

namespace {

// A port over a fixed byte string; each read hands out at most `block` bytes.
class bytePort : public vcore::ioport {
public:
    explicit bytePort(std::string bytes, bool wide = false) : bytes_(std::move(bytes)), wide_(wide) {}

    std::string written;
    uint32_t writeLimit = 0xFFFFFFFF;
    bool failWrites = false;
    size_t block = 1 << 20;

    bool open(const char16_t*) override { return true; }
    void close() override {}
    bool read(void* buffer, uint32_t size, uint32_t& count) override
    {
        count = uint32_t(std::min<size_t>({size, bytes_.size() - at_, block}));
        std::memcpy(buffer, bytes_.data() + at_, count);
        at_ += count;
        return true;
    }
    bool write(const void* data, uint32_t size, uint32_t& count) override
    {
        count = std::min(size, writeLimit);
        written.append(static_cast<const char*>(data), count);
        return !failWrites;
    }
    uint64_t available() override { return bytes_.size() - at_; }
    bool isOpen() const override { return true; }
    bool isWide() const override { return wide_; }

protected:
    void run() override {}

private:
    std::string bytes_;
    size_t at_ = 0;
    bool wide_;
};

std::string narrow(const vcore::str& text)
{
    std::string out;
    for (int32_t i = 0; i < text.length(); ++i)
        out.push_back(char(text[i]));
    return out;
}

TEST(Streams, CopyToMovesEveryBlockAndReportsTargetFailures)
{
    std::string payload(200000, 'x');
    payload[70000] = '\0';
    bytePort source(payload), target("");
    source.block = 4096;
    EXPECT_TRUE(source.copyTo(target));
    EXPECT_EQ(target.written, payload);

    bytePort again(payload), failing("");
    failing.failWrites = true;
    EXPECT_FALSE(again.copyTo(failing));

    bytePort third(payload), shortWrites("");
    shortWrites.writeLimit = 100;
    EXPECT_FALSE(third.copyTo(shortWrites));
}

TEST(Streams, ReadStringSplitsAtNulAndStopsAtWhatWasAvailable)
{
    const char raw[] = "media.play\0media.get_volume\0\xC3\xA9t\xC3\xA9";
    bytePort port(std::string(raw, sizeof raw - 1));
    vcore::str text;
    ASSERT_TRUE(port.readString(text));
    EXPECT_EQ(narrow(text), "media.play");
    ASSERT_TRUE(port.readString(text));
    EXPECT_EQ(narrow(text), "media.get_volume");
    ASSERT_TRUE(port.readString(text));
    EXPECT_EQ(narrow(text), "\xC3\xA9t\xC3\xA9");  // UTF-8 bytes kept one per character
    EXPECT_FALSE(port.readString(text));
    EXPECT_TRUE(text.empty());
}

TEST(Streams, ReadStringOnWideStreamsTakesTwoBytesPerCharacter)
{
    bytePort port(std::string("h\0i\0\0\0z\0", 8), true);
    vcore::str text;
    ASSERT_TRUE(port.readString(text));
    EXPECT_EQ(narrow(text), "hi");
    ASSERT_TRUE(port.readString(text));
    EXPECT_EQ(narrow(text), "z");
}

TEST(Streams, ReadByteWaitsOnlyWhenNothingIsAvailable)
{
    bytePort port("A");
    uint8_t byte = 0;
    ASSERT_TRUE(port.readByte(byte, 0));
    EXPECT_EQ(byte, 'A');
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(port.readByte(byte, 100));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
}

} // namespace
