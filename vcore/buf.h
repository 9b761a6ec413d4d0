#pragma once
#include <cstdint>
#include <memory>

#include "vcore/iostore.h"

namespace vcore {

// A growable in-memory byte stream.
class buf : public iostore {
public:
    static constexpr uint32_t defaultSizeHint = 65536;
    static constexpr uint32_t minimumCapacity = 32;

    // Opens at once with room for sizeHint bytes.
    explicit buf(uint32_t sizeHint = defaultSizeHint);
    ~buf() override;

    // Drops the data and starts empty with room for the size hint.
    bool open(const char16_t* name = nullptr) override;
    // Frees the data.
    void close() override;
    // Copies what is left up to size; true whenever a buffer exists.
    bool read(void* buffer, uint32_t size, uint32_t& count) override;
    // Grows as needed; stores nothing and reports 0 bytes when it cannot grow.
    bool write(const void* data, uint32_t size, uint32_t& count) override;
    bool isOpen() const override { return data_ != nullptr; }
    // Clamped to the size.
    bool seek(uint64_t position) override;

    const uint8_t* data() const { return data_.get(); }
    uint32_t capacity() const { return capacity_; }
    // Room the next open allocates: the last size the buffer grew to hold.
    uint32_t sizeHint() const { return sizeHint_; }

private:
    bool grow(uint64_t needed);

    uint32_t capacity_ = 0;
    uint32_t sizeHint_;
    std::unique_ptr<uint8_t[]> data_;
};

} // namespace vcore
