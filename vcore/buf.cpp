#include "vcore/buf.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vcore {

buf::buf(uint32_t sizeHint)
    : sizeHint_(sizeHint)
{
    open();
}

buf::~buf() = default;

bool buf::open(const char16_t* name)
{
    close();
    setName(name);
    uint32_t room = std::max(sizeHint_, minimumCapacity);
    data_.reset(new (std::nothrow) uint8_t[room]);
    capacity_ = data_ ? room : 0;
    return isOpen();
}

void buf::close()
{
    data_.reset();
    capacity_ = 0;
    size_ = 0;
    position_ = 0;
}

bool buf::read(void* buffer, uint32_t size, uint32_t& count)
{
    count = 0;
    if (!isOpen())
        return false;
    count = uint32_t(std::min<uint64_t>(size, available()));
    if (count == 0)
        return true;
    if (!buffer) {
        count = 0;
        return false;
    }
    std::memcpy(buffer, data_.get() + position_, count);
    position_ += count;
    return true;
}

bool buf::write(const void* data, uint32_t size, uint32_t& count)
{
    count = 0;
    if (!isOpen() || (size > 0 && !data))
        return false;
    uint64_t end = position_ + size;
    if (end > capacity_ && !grow(end))
        return false;
    if (size > 0)
        std::memcpy(data_.get() + position_, data, size);
    position_ = end;
    size_ = std::max(size_, position_);
    count = size;
    return true;
}

bool buf::grow(uint64_t needed)
{
    if (needed > UINT32_MAX)
        return false;
    uint64_t room = std::max<uint64_t>(capacity_, minimumCapacity);
    while (room < needed)
        room *= 2;
    room = std::min<uint64_t>(room, UINT32_MAX);
    std::unique_ptr<uint8_t[]> bigger(new (std::nothrow) uint8_t[size_t(room)]);
    if (!bigger)
        return false;
    std::memcpy(bigger.get(), data_.get(), size_t(size_));
    data_ = std::move(bigger);
    capacity_ = uint32_t(room);
    sizeHint_ = uint32_t(needed);
    return true;
}

bool buf::seek(uint64_t position)
{
    if (!isOpen())
        return false;
    position_ = std::min(position, size_);
    return true;
}

} // namespace vcore
