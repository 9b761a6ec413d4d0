#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "plugins/vlc/vlcrcfile.h"
#include "plugins/vlc/vlcrcfile_os.h"
#include "vcore/nativepath.h"
#include "vcore/xdgdirs_posix.h"

namespace vlc {
namespace {

// The new name must reach the disk with the new content, or a crash could bring back neither.
void syncFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace

vcore::str vlcrcPath()
{
    return vcore::fromNativePath((vcore::xdg::configHome() + "/vlc/vlcrc").c_str());
}

// VLC on Linux keeps a CR as part of a value, and its interface wants a terminal on stdin.
vlcrcOptions vlcrcOptionsHere(bool allowRewrite)
{
    vlcrcOptions options;
    options.allowRewrite = allowRewrite;
    options.lineEnd = u"\n";
    options.ensureFakeTty = true;
    return options;
}

namespace os {

void copyAccess(const vcore::str& from, const vcore::str& to)
{
    struct stat old {};
    const std::string target = vcore::toNativePath(to);
    if (::stat(vcore::toNativePath(from).c_str(), &old) != 0)
        return;
    (void)::chmod(target.c_str(), old.st_mode & 07777);
    // Only possible for root (a hub run by root must not hand the user a root-owned file).
    (void)::chown(target.c_str(), old.st_uid, old.st_gid);
}

// A vlcrc that is a link (kept with the user's other settings elsewhere) stays one: the file
// it points to is replaced. Across file systems the rename fails, and nothing changes.
bool renameOver(const vcore::str& fresh, const vcore::str& target)
{
    std::string to = vcore::toNativePath(target);
    if (char* real = ::realpath(to.c_str(), nullptr)) {
        to = real;
        std::free(real);
    }
    if (::rename(vcore::toNativePath(fresh).c_str(), to.c_str()) != 0)
        return false;
    syncFolderOf(to);
    return true;
}

void removeFile(const vcore::str& path)
{
    (void)::unlink(vcore::toNativePath(path).c_str());
}

} // namespace os
} // namespace vlc
