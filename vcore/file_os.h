#pragma once
#include <cstdint>

#include "vcore/calendartime.h"
#include "vcore/file.h"

// The file calls vcore::file stands on; file_win32.cpp and file_posix.cpp implement them.
namespace vcore::fileos {

using handle = file::handle;

enum class failure { none, notFound, other };

struct request {
    const char16_t* path;
    uint32_t access;
    uint32_t sharing;
    uint32_t mode;  // creation disposition 1..5
    uint32_t attributes;
};

handle create(const request& r, failure& why);
// Cancels pending I/O, then closes.
void close(handle h);

// At the file pointer, moving it.
bool read(handle h, void* buffer, uint32_t size, uint32_t& moved);
bool write(handle h, const void* data, uint32_t size, uint32_t& moved);
// At offset, waiting for completion; the file pointer is not used.
bool readAt(handle h, overlap* o, uint64_t offset, void* buffer, uint32_t size, uint32_t& moved);
bool writeAt(handle h, overlap* o, uint64_t offset, const void* data, uint32_t size, uint32_t& moved);
// Moves the file pointer from the start; true only when it got there.
bool seek(handle h, uint64_t position);
// Ends the file at the file pointer.
bool truncate(handle h);
bool flush(handle h);
bool size(handle h, uint64_t& out);
bool creationTime(handle h, calendartime& out);
// o is given in overlapped mode only; returns the signalled index or -1.
int32_t wait(handle h, overlap* o, uint32_t milliseconds);

bool exists(const char16_t* path);
// Removes what keeps a file from being rewritten (the read-only attribute, missing write permission).
bool clearAttributes(const char16_t* path);

// The overlapped record with its event, named after the owning object.
overlap* createOverlap(const void* owner);
void destroyOverlap(overlap* o);

} // namespace vcore::fileos
