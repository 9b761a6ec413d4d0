#pragma once
#include <atomic>
#include <cstdint>

#include "vcore/iobase.h"

struct IStream;

namespace vcore {

class comstream;

// A seekable stream with a size and a position (files, memory), also offered as a COM IStream.
class iostore : public iobase {
public:
    iostore() = default;
    ~iostore() override;

    // size - position, 0 when the position lies past the end.
    uint64_t available() override;
    bool isWide() const override { return false; }
    virtual bool seek(uint64_t position) = 0;
    virtual bool advance(uint64_t count);
    // Turns every '\' of the name into '/'.
    virtual void forwardSlashes();

    uint64_t size() const { return size_; }
    uint64_t position() const { return position_; }

    // COM-style lifetime: the creator holds the first reference; the last release deletes the
    // object, so only objects made with new may be released.
    uint32_t addRef();
    uint32_t release();
    // The COM stream face with a new reference (Windows only; none elsewhere).
    IStream* comStream();

protected:
    uint64_t size_ = 0;
    uint64_t position_ = 0;

private:
    void destroyComStream();

    std::atomic<uint32_t> references_{1};
    comstream* face_ = nullptr;
};

} // namespace vcore
