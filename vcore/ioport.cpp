#include "vcore/ioport.h"

#include <algorithm>

namespace vcore {
namespace {

// Texts longer than this grow as they are read instead of being reserved up front.
constexpr uint64_t reserveLimit = 65536;

} // namespace

ioport::ioport(uint32_t portNumber) : portNumber_(portNumber)
{
    localNow(created_, createdFileTime_);
}

ioport::~ioport() = default;

bool ioport::waitOpen(uint32_t ms)
{
    return openedEvent_.wait(ms);
}

bool ioport::waitClose(uint32_t ms)
{
    return closedEvent_.wait(ms);
}

bool ioport::waitData(uint32_t ms)
{
    return dataEvent_.wait(ms);
}

bool ioport::readByte(uint8_t& byte, uint32_t ms)
{
    if (available() == 0 && !dataEvent_.wait(ms))
        return false;
    uint32_t count = 0;
    return read(&byte, 1, count) && count == 1;
}

str ioport::setNote(const char16_t* text)
{
    std::lock_guard<std::mutex> hold(textLock_);
    note_.set(text);
    return note_;
}

str ioport::note() const
{
    std::lock_guard<std::mutex> hold(textLock_);
    return note_;
}

str ioport::remoteText() const
{
    std::lock_guard<std::mutex> hold(textLock_);
    return remoteText_;
}

void ioport::setRemoteText(const str& text)
{
    std::lock_guard<std::mutex> hold(textLock_);
    remoteText_.set(text);
}

void ioport::resetEvents()
{
    dataEvent_.reset();
    closedEvent_.reset();
    openedEvent_.reset();
}

bool ioport::onOpen(ioport*) { return false; }
bool ioport::onClose(ioport*) { return false; }
bool ioport::onData(ioport*) { return false; }
bool ioport::onTimeOut(ioport*) { return false; }

bool ioport::readString(str& text)
{
    text.clear();
    uint64_t n = available();
    if (n == 0)
        return false;
    const uint32_t unit = isWide() ? 2 : 1;
    text.reserve(int32_t(std::clamp<uint64_t>(n, 256, reserveLimit)));
    for (uint64_t i = 0; i < n; ++i) {
        uint8_t bytes[2] = {0, 0};
        uint32_t count = 0;
        if (!read(bytes, unit, count))
            return false;
        if (count < unit)
            break;
        char16_t c = char16_t(bytes[0] | (unit == 2 ? bytes[1] << 8 : 0));
        if (c == 0)
            break;
        text.append(c);
    }
    return !text.empty();
}

} // namespace vcore
