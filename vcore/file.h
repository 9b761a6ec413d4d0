#pragma once
#include <cstdint>

#include "vcore/calendartime.h"
#include "vcore/iostore.h"

namespace vcore {

namespace fileos { struct overlap; }

// A byte stream over a file: creation modes with fallbacks, the UTF-16 byte-order mark, overlapped I/O.
class file : public iostore {
public:
    // A system file handle (a HANDLE on Windows, a descriptor elsewhere).
    using handle = intptr_t;
    static constexpr handle noHandle = -1;

    // Access bits.
    static constexpr uint32_t genericRead = 0x80000000;
    static constexpr uint32_t genericWrite = 0x40000000;
    // Sharing bits.
    static constexpr uint32_t shareRead = 0x1;
    static constexpr uint32_t shareWrite = 0x2;
    // Creation modes; writeByteOrderMark is ours and never reaches the system.
    static constexpr uint32_t createNew = 1;
    static constexpr uint32_t createAlways = 2;
    static constexpr uint32_t openExisting = 3;
    static constexpr uint32_t openAlways = 4;
    static constexpr uint32_t truncateExisting = 5;
    static constexpr uint32_t writeByteOrderMark = 0x8;
    // Attributes and flags.
    static constexpr uint32_t attrReadOnly = 0x1;
    static constexpr uint32_t attrNormal = 0x80;
    static constexpr uint32_t flagOverlapped = 0x40000000;

    explicit file(const char16_t* path = nullptr);
    ~file() override;

    bool open(const char16_t* path = nullptr) override;
    void close() override;
    bool read(void* buffer, uint32_t size, uint32_t& count) override;
    bool write(const void* data, uint32_t size, uint32_t& count) override;
    bool isOpen() const override { return handle_ != noHandle; }
    bool isWide() const override { return wide_; }
    // Ends the file at the current position.
    bool truncate() override;
    // Copies the whole file, from its start.
    bool copyTo(iobase& target) override;
    bool seek(uint64_t position) override;

    // Opens with the stored name when closed, otherwise re-reads the size.
    virtual bool reopen();
    // Closes and adopts h (noHandle leaves the file closed).
    virtual bool attach(handle h);
    // Gives the handle away unclosed; the file is closed afterwards.
    virtual handle detach();
    virtual bool flush();
    // The named path exists.
    virtual bool exists() const;
    // Waits for the handle or, in overlapped mode, the overlapped event; index 0 or 1, -1 on failure.
    virtual bool wait(uint32_t milliseconds, int32_t& index);
    // Creation time in UTC (modification time where the file system keeps no birth time).
    virtual bool creationTime(calendartime& out) const;
    virtual bool refreshSize();

    uint32_t access() const { return access_; }
    uint32_t sharing() const { return sharing_; }
    uint32_t mode() const { return mode_; }
    uint32_t attributes() const { return attributes_; }
    void setAccess(uint32_t access) { access_ = access; }
    void setSharing(uint32_t sharing) { sharing_ = sharing; }
    void setMode(uint32_t mode) { mode_ = mode; }
    void setAttributes(uint32_t attributes) { attributes_ = attributes; }
    bool overlapped() const { return (attributes_ & flagOverlapped) != 0; }
    handle nativeHandle() const { return handle_; }

private:
    bool createWithFallbacks();
    void readByteOrderMark();
    void writeByteOrderMarkIfEmpty();
    void moved(uint32_t count);

    handle handle_ = noHandle;
    uint32_t access_ = genericRead | genericWrite;
    uint32_t sharing_ = shareRead | shareWrite;
    uint32_t mode_ = openAlways;
    uint32_t attributes_ = attrNormal;
    fileos::overlap* overlap_ = nullptr;
    bool wide_ = false;
};

} // namespace vcore
