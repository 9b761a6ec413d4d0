#include <windows.h>
#include <shlobj.h>

#include "plugins/vlc/vlcrcfile.h"
#include "plugins/vlc/vlcrcfile_os.h"

namespace vlc {
namespace {

const wchar_t* wide(const vcore::str& text)
{
    return reinterpret_cast<const wchar_t*>(text.data());
}

} // namespace

vcore::str vlcrcPath()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return vcore::str();
    vcore::str path(reinterpret_cast<const char16_t*>(folder));
    path.append(u"\\vlc\\vlcrc");
    return path;
}

vlcrcOptions vlcrcOptionsHere(bool allowRewrite)
{
    vlcrcOptions options;
    options.allowRewrite = allowRewrite;
    options.lineEnd = u"\r\n";
    options.ensureFakeTty = false;
    return options;
}

namespace os {

// New files in the folder take its inherited rights, as the old one did.
void copyAccess(const vcore::str&, const vcore::str&) {}

bool renameOver(const vcore::str& fresh, const vcore::str& target)
{
    return MoveFileExW(wide(fresh), wide(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void removeFile(const vcore::str& path)
{
    DeleteFileW(wide(path));
}

} // namespace os
} // namespace vlc
