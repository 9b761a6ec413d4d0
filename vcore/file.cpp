#include "vcore/file.h"

#include "vcore/file_os.h"

namespace vcore {

namespace {

constexpr uint8_t byteOrderMark[2] = {0xFF, 0xFE};

} // namespace

file::file(const char16_t* path)
    : overlap_(fileos::createOverlap(this))
{
    setName(path);
}

file::~file()
{
    close();
    fileos::destroyOverlap(overlap_);
}

bool file::open(const char16_t* path)
{
    close();
    setName(path);
    if (!createWithFallbacks())
        return false;
    refreshSize();
    if (size_ > 0)
        readByteOrderMark();
    else
        writeByteOrderMarkIfEmpty();
    return isOpen();
}

bool file::createWithFallbacks()
{
    uint32_t disposition = mode_ & ~writeByteOrderMark;
    fileos::request wanted{name_.data(), access_, sharing_, disposition, attributes_};
    fileos::failure why = fileos::failure::none;
    handle_ = fileos::create(wanted, why);
    if (isOpen())
        return true;
    if (why == fileos::failure::notFound)
        return false;

    if (disposition == createNew) {
        fileos::request writeOnly{name_.data(), genericWrite, 0, createNew, attributes_};
        handle_ = fileos::create(writeOnly, why);
        return isOpen();
    }
    if (disposition == createAlways) {
        fileos::clearAttributes(name_.data());
        handle_ = fileos::create(wanted, why);
        if (isOpen())
            return true;
    }
    fileos::request readOnly{name_.data(), genericRead, shareRead | shareWrite, openExisting,
                             attributes_ & ~attrReadOnly};
    handle_ = fileos::create(readOnly, why);
    return isOpen();
}

void file::readByteOrderMark()
{
    uint8_t mark[2] = {};
    uint32_t got = 0;
    if (read(mark, 2, got) && got == 2 && mark[0] == byteOrderMark[0] && mark[1] == byteOrderMark[1]) {
        wide_ = true;
        return;
    }
    wide_ = false;
    seek(0);
}

void file::writeByteOrderMarkIfEmpty()
{
    // Open always (4) never gets a mark: only modes with a nonzero low pair of bits do.
    if (!(mode_ & writeByteOrderMark) || (mode_ & 3) == 0)
        return;
    uint32_t put = 0;
    wide_ = write(byteOrderMark, 2, put) && put == 2;
}

void file::close()
{
    if (isOpen())
        fileos::close(handle_);
    handle_ = noHandle;
    size_ = 0;
    position_ = 0;
    wide_ = false;
}

void file::moved(uint32_t count)
{
    position_ += count;
    if (position_ > size_)
        size_ = position_;
}

bool file::read(void* buffer, uint32_t size, uint32_t& count)
{
    count = 0;
    if (!isOpen() || !buffer)
        return false;
    bool ok = overlapped() ? fileos::readAt(handle_, overlap_, position_, buffer, size, count)
                           : fileos::read(handle_, buffer, size, count);
    if (!ok) {
        count = 0;
        return false;
    }
    moved(count);
    return count > 0;
}

bool file::write(const void* data, uint32_t size, uint32_t& count)
{
    count = 0;
    if (!isOpen() || !data)
        return false;
    bool ok = overlapped() ? fileos::writeAt(handle_, overlap_, position_, data, size, count)
                           : fileos::write(handle_, data, size, count);
    if (!ok) {
        count = 0;
        return false;
    }
    moved(count);
    return count > 0;
}

bool file::seek(uint64_t position)
{
    if (!isOpen())
        return false;
    if (!overlapped() && !fileos::seek(handle_, position))
        return false;
    position_ = position;
    return true;
}

bool file::truncate()
{
    if (!isOpen())
        return false;
    // In overlapped mode the file pointer is never moved by reads and writes.
    if (overlapped() && !fileos::seek(handle_, position_))
        return false;
    if (!fileos::truncate(handle_))
        return false;
    return refreshSize();
}

bool file::copyTo(iobase& target)
{
    if (!seek(0))
        return false;
    return iobase::copyTo(target);
}

bool file::reopen()
{
    if (!isOpen())
        return open();
    return refreshSize();
}

bool file::attach(handle h)
{
    close();
    if (h == noHandle)
        return false;
    handle_ = h;
    refreshSize();
    return true;
}

file::handle file::detach()
{
    handle h = handle_;
    handle_ = noHandle;
    size_ = 0;
    position_ = 0;
    wide_ = false;
    return h;
}

bool file::flush()
{
    return isOpen() && fileos::flush(handle_);
}

bool file::exists() const
{
    return !name_.empty() && fileos::exists(name_.data());
}

bool file::wait(uint32_t milliseconds, int32_t& index)
{
    index = -1;
    if (!isOpen())
        return false;
    index = fileos::wait(handle_, overlapped() ? overlap_ : nullptr, milliseconds);
    return index >= 0;
}

bool file::creationTime(calendartime& out) const
{
    return isOpen() && fileos::creationTime(handle_, out);
}

bool file::refreshSize()
{
    return isOpen() && fileos::size(handle_, size_);
}

} // namespace vcore
