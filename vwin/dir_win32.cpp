#include "vwin/dir_os.h"

#include <windows.h>

#include "vwin/dir.h"

namespace vwin::diros {

using vcore::str;

const char16_t separator = u'\\';

namespace {

const wchar_t* wide(const str& text) { return reinterpret_cast<const wchar_t*>(text.data()); }

DWORD notifyFilter(uint32_t filter)
{
    DWORD kinds = 0;
    if (filter & dir::changeFolderNames)
        kinds |= FILE_NOTIFY_CHANGE_DIR_NAME;
    if (filter & dir::changeFileNames)
        kinds |= FILE_NOTIFY_CHANGE_FILE_NAME;
    if (filter & dir::changeSize)
        kinds |= FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_CREATION;
    if (filter & dir::changeLastWrite)
        kinds |= FILE_NOTIFY_CHANGE_LAST_WRITE;
    if (filter & dir::changeAttributes)
        kinds |= FILE_NOTIFY_CHANGE_ATTRIBUTES;
    return kinds;
}

} // namespace

bool scan(const str& folder, const str& pattern, const visitor& found)
{
    str search = folder.empty() ? pattern : join(folder, pattern);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide(search), &data);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        uint32_t attributes = data.dwFileAttributes;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            attributes |= filelist::attrLink;
        found(reinterpret_cast<const char16_t*>(data.cFileName), attributes);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

str currentFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return n > 0 && n <= MAX_PATH ? str(reinterpret_cast<const char16_t*>(buffer)) : str();
}

struct watch {
    HANDLE notification;
};

watch* openWatch(const str& folder, uint32_t filter, bool subfolders)
{
    DWORD kinds = notifyFilter(filter);
    if (!kinds)
        return nullptr;
    HANDLE h = FindFirstChangeNotificationW(wide(folder), subfolders, kinds);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    return new watch{h};
}

void closeWatch(watch* w)
{
    if (w)
        FindCloseChangeNotification(w->notification);
    delete w;
}

bool waitChange(watch* w, vcore::event& stop)
{
    HANDLE objects[2] = {stop.native(), w->notification};
    DWORD woke = WaitForMultipleObjects(2, objects, FALSE, INFINITE);
    if (woke != WAIT_OBJECT_0 + 1)
        return false;
    return FindNextChangeNotification(w->notification) != 0;
}

void lowerThreadPriority()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
}

} // namespace vwin::diros
