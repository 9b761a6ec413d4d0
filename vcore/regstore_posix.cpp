#include "vcore/regstore_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <thread>

#include "vcore/xdgdirs_posix.h"

namespace vcore::regfile {

namespace {

constexpr const char* temporaryMarker = ".tmp-";

bool makeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// An flock on the root's lock file; the data file itself is replaced by rename, so it cannot
// carry the lock. Gives up after a few seconds rather than hang on a stuck process.
class fileLock {
public:
    fileLock(const std::string& path, int operation)
    {
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (fd_ >= 0 && !held_) {
            held_ = flock(fd_, operation | LOCK_NB) == 0;
            if (!held_ && ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > deadline))
                break;
            if (!held_)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    ~fileLock()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    fileLock(const fileLock&) = delete;
    fileLock& operator=(const fileLock&) = delete;
    bool held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

struct rootFiles {
    std::string folder;
    std::string data;
    std::string lock;
};

rootFiles filesOf(const char* rootName)
{
    rootFiles files;
    files.folder = folder();
    files.data = files.folder + "/" + rootName + ".ini";
    files.lock = files.folder + "/" + rootName + ".lock";
    return files;
}

bool readAll(int fd, std::string& out)
{
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            out.append(buffer, size_t(n));
    }
}

bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR)
            return false;
        if (n > 0)
            done += size_t(n);
    }
    return true;
}

bool exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Keeps a file we cannot use for the user to recover: NAME.corrupt-YYYYMMDD-HHMMSS[-N].
bool setAside(const std::string& file)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string target = file + ".corrupt-" + stamp;
    for (int n = 2; exists(target); ++n)
        target = file + ".corrupt-" + stamp + "-" + std::to_string(n);
    return rename(file.c_str(), target.c_str()) == 0 || errno == ENOENT;
}

// Loads a root's file. One that cannot be read or parsed counts as empty and is set aside (only
// under the lock: unlocked, a writer may just have put a good file in its place); writable is
// false when it stays, so it must not be replaced.
void load(const std::string& file, key& tree, bool& writable, bool locked)
{
    writable = true;
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        return;
    std::string text;
    const bool read = fd >= 0 && readAll(fd, text);
    if (fd >= 0)
        close(fd);
    if (read && parse(text, tree))
        return;
    tree = key();
    writable = locked && setAside(file);
}

// A writer killed between creating and renaming its temporary file leaves it behind; under the
// exclusive lock no other writer is busy, so every such file is stale. The marker keeps the
// user's own copies (NAME.ini.backup has six letters too) out of it.
void removeTemporaries(const rootFiles& files)
{
    const std::string prefix = files.data.substr(files.folder.size() + 1) + temporaryMarker;
    DIR* dir = opendir(files.folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
            unlink((files.folder + "/" + name).c_str());
    }
    closedir(dir);
}

// Temporary file, flush to disk, rename over the old one: readers see the old or the new file,
// never a part of one, also after a crash or a full disk.
bool save(const rootFiles& files, const std::string& text)
{
    std::string temporary = files.data + temporaryMarker + "XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, text) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), files.data.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    const int dir = open(files.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

} // namespace

std::string folder() { return xdg::configHome() + "/tolvanu"; }

void read(const char* rootName, const std::function<void(key&)>& look)
{
    const rootFiles files = filesOf(rootName);
    key tree;
    if (exists(files.folder)) {
        const fileLock lock(files.lock, LOCK_SH);
        bool writable = true;
        load(files.data, tree, writable, lock.held());
    }
    look(tree);
}

bool update(const char* rootName, const std::function<bool(key&)>& change)
{
    const rootFiles files = filesOf(rootName);
    if (!makeFolders(files.folder))
        return false;
    const fileLock lock(files.lock, LOCK_EX);
    if (!lock.held())
        return false;
    key tree;
    bool writable = true;
    load(files.data, tree, writable, true);
    if (!change(tree) || !writable)
        return false;
    removeTemporaries(files);
    return save(files, format(tree, rootName));
}

} // namespace vcore::regfile
