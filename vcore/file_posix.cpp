#include "vcore/file_os.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include "vcore/nativepath.h"

namespace vcore::fileos {

// Positioned I/O needs no record on POSIX; the type only has to exist.
struct overlap {};

namespace {

constexpr uint32_t readBits = file::genericRead | 0x10000000 /* all */ | 0x1 /* read data */;
constexpr uint32_t writeBits = file::genericWrite | 0x10000000 | 0x2 /* write data */ | 0x4 /* append */;

int accessFlags(uint32_t access)
{
    bool reads = access & readBits;
    bool writes = access & writeBits;
    if (reads && writes)
        return O_RDWR;
    return writes ? O_WRONLY : O_RDONLY;
}

// -1 for an unknown disposition.
int dispositionFlags(uint32_t mode)
{
    switch (mode) {
    case file::createNew: return O_CREAT | O_EXCL;
    case file::createAlways: return O_CREAT | O_TRUNC;
    case file::openExisting: return 0;
    case file::openAlways: return O_CREAT;
    case file::truncateExisting: return O_TRUNC;
    default: return -1;
    }
}

int fd(handle h) { return int(h); }

bool isFolder(int descriptor)
{
    struct stat st{};
    return fstat(descriptor, &st) == 0 && S_ISDIR(st.st_mode);
}

calendartime fromTimespec(int64_t seconds, uint32_t nanoseconds)
{
    time_t t = time_t(seconds);
    struct tm parts{};
    gmtime_r(&t, &parts);
    calendartime c;
    c.year = uint16_t(parts.tm_year + 1900);
    c.month = uint16_t(parts.tm_mon + 1);
    c.dayOfWeek = uint16_t(parts.tm_wday);
    c.day = uint16_t(parts.tm_mday);
    c.hour = uint16_t(parts.tm_hour);
    c.minute = uint16_t(parts.tm_min);
    c.second = uint16_t(parts.tm_sec);
    c.millisecond = uint16_t(nanoseconds / 1000000);
    return c;
}

} // namespace

// Sharing bits have no POSIX counterpart and are not enforced.
handle create(const request& r, failure& why)
{
    why = failure::other;
    int disposition = dispositionFlags(r.mode);
    int access = accessFlags(r.access);
    // O_TRUNC on a descriptor without write access is undefined; the system refuses it too.
    if (disposition < 0 || (r.mode == file::truncateExisting && access == O_RDONLY))
        return file::noHandle;
    mode_t permissions = (r.attributes & file::attrReadOnly) ? 0444 : 0666;
    int descriptor = ::open(toNativePath(r.path).c_str(), access | disposition | O_CLOEXEC, permissions);
    if (descriptor < 0) {
        why = errno == ENOENT ? failure::notFound : failure::other;
        return file::noHandle;
    }
    // Folders are not files here, as on Windows.
    if (isFolder(descriptor)) {
        ::close(descriptor);
        return file::noHandle;
    }
    why = failure::none;
    return descriptor;
}

void close(handle h)
{
    ::close(fd(h));
}

bool read(handle h, void* buffer, uint32_t size, uint32_t& moved)
{
    ssize_t n;
    do
        n = ::read(fd(h), buffer, size);
    while (n < 0 && errno == EINTR);
    moved = n > 0 ? uint32_t(n) : 0;
    return n >= 0;
}

bool write(handle h, const void* data, uint32_t size, uint32_t& moved)
{
    ssize_t n;
    do
        n = ::write(fd(h), data, size);
    while (n < 0 && errno == EINTR);
    moved = n > 0 ? uint32_t(n) : 0;
    return n >= 0;
}

bool readAt(handle h, overlap*, uint64_t offset, void* buffer, uint32_t size, uint32_t& moved)
{
    ssize_t n;
    do
        n = ::pread(fd(h), buffer, size, off_t(offset));
    while (n < 0 && errno == EINTR);
    moved = n > 0 ? uint32_t(n) : 0;
    return n >= 0;
}

bool writeAt(handle h, overlap*, uint64_t offset, const void* data, uint32_t size, uint32_t& moved)
{
    ssize_t n;
    do
        n = ::pwrite(fd(h), data, size, off_t(offset));
    while (n < 0 && errno == EINTR);
    moved = n > 0 ? uint32_t(n) : 0;
    return n >= 0;
}

bool seek(handle h, uint64_t position)
{
    if (position > uint64_t(INT64_MAX))
        return false;
    return lseek(fd(h), off_t(position), SEEK_SET) == off_t(position);
}

bool truncate(handle h)
{
    off_t at = lseek(fd(h), 0, SEEK_CUR);
    return at >= 0 && ftruncate(fd(h), at) == 0;
}

bool flush(handle h)
{
    return fsync(fd(h)) == 0;
}

bool size(handle h, uint64_t& out)
{
    struct stat st{};
    if (fstat(fd(h), &st) != 0)
        return false;
    out = uint64_t(st.st_size);
    return true;
}

bool creationTime(handle h, calendartime& out)
{
    struct statx st{};
    if (statx(fd(h), "", AT_EMPTY_PATH, STATX_BTIME | STATX_MTIME, &st) != 0)
        return false;
    const statx_timestamp& t = (st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime;
    out = fromTimespec(t.tv_sec, t.tv_nsec);
    return true;
}

int32_t wait(handle h, overlap*, uint32_t milliseconds)
{
    pollfd p{fd(h), POLLIN | POLLOUT, 0};
    int timeout = milliseconds > uint32_t(INT32_MAX) ? -1 : int(milliseconds);
    int n = poll(&p, 1, timeout);
    return n > 0 && !(p.revents & POLLNVAL) ? 0 : -1;
}

bool exists(const char16_t* path)
{
    struct stat st{};
    return stat(toNativePath(path).c_str(), &st) == 0;
}

bool clearAttributes(const char16_t* path)
{
    std::string native = toNativePath(path);
    struct stat st{};
    return stat(native.c_str(), &st) == 0 && chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

overlap* createOverlap(const void*)
{
    return new overlap;
}

void destroyOverlap(overlap* o)
{
    delete o;
}

} // namespace vcore::fileos
