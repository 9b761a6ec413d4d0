#include "vwin/dir_os.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <poll.h>
#include <string>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

#include "vcore/nativepath.h"
#include "vwin/dir.h"
#include "vwin/filelist.h"

namespace vwin::diros {

using vcore::str;

const char16_t separator = u'/';

namespace {

// Patterns keep their Windows meaning: "*.*" is every entry, extension or not, and only
// '*' and '?' are wild ('[' is an ordinary character).
std::string nativePattern(const str& pattern)
{
    if (pattern == u"*.*")
        return "*";
    std::string out;
    for (char c : vcore::toNativePath(pattern)) {
        if (c == '[')
            out += "[[]";
        else
            out += c;
    }
    return out;
}

uint32_t attributesOf(int folder, const char* name)
{
    struct stat link{}, target{};
    if (fstatat(folder, name, &link, AT_SYMLINK_NOFOLLOW) != 0)
        return filelist::attrNormal;
    // A link is listed as what it points to; a dangling one as itself.
    const struct stat& st = fstatat(folder, name, &target, 0) == 0 ? target : link;
    uint32_t attributes = 0;
    if (S_ISLNK(link.st_mode))
        attributes |= filelist::attrLink;
    if (S_ISDIR(st.st_mode))
        attributes |= filelist::attrFolder;
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))
        attributes |= filelist::attrDevice;
    if (name[0] == '.')
        attributes |= filelist::attrHidden;
    if (!(st.st_mode & S_IWUSR))
        attributes |= filelist::attrReadOnly;
    return attributes ? attributes : filelist::attrNormal;
}

} // namespace

bool scan(const str& folder, const str& pattern, const visitor& found)
{
    std::string path = folder.empty() ? std::string(".") : vcore::toNativePath(folder);
    DIR* d = opendir(path.c_str());
    if (!d)
        return false;
    std::string wanted = nativePattern(pattern);
    while (dirent* entry = readdir(d)) {
        if (fnmatch(wanted.c_str(), entry->d_name, FNM_NOESCAPE) != 0)
            continue;
        str name = vcore::fromNativePath(entry->d_name);
        found(name.data(), attributesOf(dirfd(d), entry->d_name));
    }
    closedir(d);
    return true;
}

str currentFolder()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? vcore::fromNativePath(buffer) : str();
}

// inotify watches one folder per descriptor; a watch over subfolders adds one for each.
struct watch {
    int fd = -1;
    uint32_t filter = 0;
    uint32_t mask = 0;
    bool subfolders = false;
    std::unordered_map<int, std::string> folders;  // watch descriptor -> path
};

namespace {

uint32_t maskFor(uint32_t filter)
{
    uint32_t mask = 0;
    if (filter & (dir::changeFolderNames | dir::changeFileNames))
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (filter & (dir::changeSize | dir::changeLastWrite))
        mask |= IN_MODIFY;
    if (filter & dir::changeAttributes)
        mask |= IN_ATTRIB;
    return mask;
}

bool addFolder(watch& w, const std::string& path)
{
    int wd = inotify_add_watch(w.fd, path.c_str(), w.mask | IN_ONLYDIR | IN_DONT_FOLLOW);
    if (wd < 0)
        return false;
    w.folders[wd] = path;
    return true;
}

// Subfolders reached through links are left out, so a loop of links cannot run away.
void addTree(watch& w, const std::string& path)
{
    if (!addFolder(w, path))
        return;
    DIR* d = opendir(path.c_str());
    if (!d)
        return;
    while (dirent* entry = readdir(d)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st{};
        if (fstatat(dirfd(d), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
            addTree(w, path + "/" + name);
    }
    closedir(d);
}

bool relevant(const watch& w, const inotify_event& e)
{
    if (e.mask & IN_Q_OVERFLOW)
        return true;
    bool folder = e.mask & IN_ISDIR;
    if (e.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO))
        return w.filter & (folder ? dir::changeFolderNames : dir::changeFileNames);
    if (e.mask & IN_MODIFY)
        return w.filter & (dir::changeSize | dir::changeLastWrite);
    if (e.mask & IN_ATTRIB)
        return w.filter & dir::changeAttributes;
    return false;
}

void follow(watch& w, const inotify_event& e)
{
    if (e.mask & IN_IGNORED) {
        w.folders.erase(e.wd);
        return;
    }
    bool newFolder = (e.mask & IN_ISDIR) && (e.mask & (IN_CREATE | IN_MOVED_TO));
    auto parent = w.folders.find(e.wd);
    if (w.subfolders && newFolder && e.len > 0 && parent != w.folders.end())
        addTree(w, parent->second + "/" + e.name);
}

// Reads every queued event; true when one of them is a change the filter asks for.
bool drain(watch& w)
{
    alignas(inotify_event) char buffer[8192];
    bool any = false;
    for (;;) {
        ssize_t n = read(w.fd, buffer, sizeof buffer);
        if (n <= 0)
            return any;
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            any = relevant(w, *e) || any;
            follow(w, *e);
            at += ssize_t(sizeof(inotify_event) + e->len);
        }
    }
}

} // namespace

watch* openWatch(const str& folder, uint32_t filter, bool subfolders)
{
    uint32_t mask = maskFor(filter);
    if (!mask)
        return nullptr;
    auto* w = new watch;
    w->fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    w->filter = filter;
    // Folders made later must be seen to be watched, whatever the filter asks for.
    w->mask = subfolders ? mask | IN_CREATE | IN_MOVED_TO : mask;
    w->subfolders = subfolders;
    std::string root = vcore::toNativePath(folder);
    if (w->fd >= 0) {
        if (subfolders)
            addTree(*w, root);
        else
            addFolder(*w, root);
    }
    if (w->folders.empty()) {
        closeWatch(w);
        return nullptr;
    }
    return w;
}

void closeWatch(watch* w)
{
    if (w && w->fd >= 0)
        close(w->fd);
    delete w;
}

bool waitChange(watch* w, vcore::event& stop)
{
    for (;;) {
        pollfd fds[2] = {{stop.native(), POLLIN, 0}, {w->fd, POLLIN, 0}};
        int n = poll(fds, 2, -1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || fds[0].revents)
            return false;
        if ((fds[1].revents & POLLIN) && drain(*w))
            return true;
        if (fds[1].revents & (POLLERR | POLLNVAL))
            return false;
    }
}

void lowerThreadPriority()
{
    // THREAD_PRIORITY_LOWEST is two steps below normal, not idle; a few nice steps match it.
    setpriority(PRIO_PROCESS, id_t(gettid()), 5);
}

} // namespace vwin::diros
