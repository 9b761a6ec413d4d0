#pragma once
#include <cstdint>

#include "vcore/str.h"
#include "vcore/vobject.h"

namespace vcore {

// Abstract named byte stream: the common face of network ports, files and memory buffers.
class iobase : public virtual vObject {
public:
    // Size of the blocks copyTo moves at a time.
    static constexpr uint32_t copyBlock = 65536;

    iobase() = default;
    explicit iobase(const char16_t* name);
    iobase(const iobase&) = delete;
    iobase& operator=(const iobase&) = delete;
    virtual ~iobase();

    // Opens the stream on name (absent: keep the current name). The base only takes the name.
    virtual bool open(const char16_t* name = nullptr);
    virtual void close() = 0;
    // count receives the bytes moved (0 on failure).
    virtual bool read(void* buffer, uint32_t size, uint32_t& count) = 0;
    virtual bool write(const void* data, uint32_t size, uint32_t& count) = 0;
    // Bytes readable now without waiting.
    virtual uint64_t available() = 0;
    virtual bool isOpen() const = 0;
    // Characters on this stream are two bytes wide (UTF-16 text).
    virtual bool isWide() const = 0;
    // Cuts the stream at its position; streams that cannot answer false.
    virtual bool truncate();
    // Reads copyBlock-sized blocks and writes them to target until a read fails or
    // yields nothing. False when a write to target fails or comes up short.
    virtual bool copyTo(iobase& target);

    const str& name() const { return name_; }
    void setName(const char16_t* name);

protected:
    str name_;
};

} // namespace vcore
