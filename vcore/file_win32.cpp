#include "vcore/file_os.h"

#include <windows.h>

namespace vcore::fileos {

struct overlap {
    OVERLAPPED record;
};

namespace {

HANDLE native(handle h) { return reinterpret_cast<HANDLE>(h); }
const wchar_t* wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

void place(OVERLAPPED& record, uint64_t offset)
{
    HANDLE event = record.hEvent;
    record = OVERLAPPED{};
    record.hEvent = event;
    record.Offset = DWORD(offset);
    record.OffsetHigh = DWORD(offset >> 32);
}

// A pending operation is waited for; either way moved gets the bytes transferred.
bool finish(HANDLE h, OVERLAPPED& record, BOOL started, DWORD& moved)
{
    if (started)
        return true;
    if (GetLastError() != ERROR_IO_PENDING)
        return false;
    return GetOverlappedResult(h, &record, &moved, TRUE) != 0;
}

} // namespace

handle create(const request& r, failure& why)
{
    HANDLE h = CreateFileW(wide(r.path), r.access, r.sharing, nullptr, r.mode, r.attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = GetLastError() == ERROR_FILE_NOT_FOUND ? failure::notFound : failure::other;
        return file::noHandle;
    }
    why = failure::none;
    return reinterpret_cast<handle>(h);
}

void close(handle h)
{
    CancelIo(native(h));
    CloseHandle(native(h));
}

bool read(handle h, void* buffer, uint32_t size, uint32_t& moved)
{
    DWORD n = 0;
    BOOL ok = ReadFile(native(h), buffer, size, &n, nullptr);
    moved = ok ? n : 0;
    return ok != 0;
}

bool write(handle h, const void* data, uint32_t size, uint32_t& moved)
{
    DWORD n = 0;
    BOOL ok = WriteFile(native(h), data, size, &n, nullptr);
    moved = ok ? n : 0;
    return ok != 0;
}

bool readAt(handle h, overlap* o, uint64_t offset, void* buffer, uint32_t size, uint32_t& moved)
{
    place(o->record, offset);
    DWORD n = 0;
    bool ok = finish(native(h), o->record, ReadFile(native(h), buffer, size, &n, &o->record), n);
    moved = ok ? n : 0;
    return ok;
}

bool writeAt(handle h, overlap* o, uint64_t offset, const void* data, uint32_t size, uint32_t& moved)
{
    place(o->record, offset);
    DWORD n = 0;
    bool ok = finish(native(h), o->record, WriteFile(native(h), data, size, &n, &o->record), n);
    moved = ok ? n : 0;
    return ok;
}

bool seek(handle h, uint64_t position)
{
    LARGE_INTEGER to, reached;
    to.QuadPart = LONGLONG(position);
    return SetFilePointerEx(native(h), to, &reached, FILE_BEGIN) && uint64_t(reached.QuadPart) == position;
}

bool truncate(handle h)
{
    return SetEndOfFile(native(h)) != 0;
}

bool flush(handle h)
{
    return FlushFileBuffers(native(h)) != 0;
}

bool size(handle h, uint64_t& out)
{
    LARGE_INTEGER n;
    if (!GetFileSizeEx(native(h), &n))
        return false;
    out = uint64_t(n.QuadPart);
    return true;
}

bool creationTime(handle h, calendartime& out)
{
    FILETIME created;
    SYSTEMTIME t;
    if (!GetFileTime(native(h), &created, nullptr, nullptr) || !FileTimeToSystemTime(&created, &t))
        return false;
    out = calendartime{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    return true;
}

int32_t wait(handle h, overlap* o, uint32_t milliseconds)
{
    HANDLE objects[2] = {native(h), o ? o->record.hEvent : nullptr};
    DWORD count = (o && o->record.hEvent) ? 2 : 1;
    DWORD result = WaitForMultipleObjects(count, objects, FALSE, milliseconds);
    return result < WAIT_OBJECT_0 + count ? int32_t(result - WAIT_OBJECT_0) : -1;
}

bool exists(const char16_t* path)
{
    return GetFileAttributesW(wide(path)) != INVALID_FILE_ATTRIBUTES;
}

bool clearAttributes(const char16_t* path)
{
    return SetFileAttributesW(wide(path), FILE_ATTRIBUTE_NORMAL) != 0;
}

overlap* createOverlap(const void* owner)
{
    auto* o = new overlap{};
    // Named after process and object, so every stream has its own event. The whole address:
    // a 64-bit build must not share an event between objects that differ in the high half.
    wchar_t name[40];
    _snwprintf(name, 40, L"overlapped:%04x_%08llx", unsigned(GetCurrentProcessId()),
               static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(owner)));
    name[39] = 0;
    o->record.hEvent = CreateEventW(nullptr, FALSE, FALSE, name);
    return o;
}

void destroyOverlap(overlap* o)
{
    if (o && o->record.hEvent)
        CloseHandle(o->record.hEvent);
    delete o;
}

} // namespace vcore::fileos
