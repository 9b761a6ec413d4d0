#include "plugins/vlc/vlcrcfile.h"

#include <algorithm>
#include <vector>

#include "plugins/vlc/vlcrcfile_os.h"
#include "vcore/file.h"

namespace vlc {
namespace {

constexpr uint32_t chunk = 65536;

vcore::str besides(const vcore::str& path, const char16_t* suffix)
{
    vcore::str name(path);
    name.append(suffix);
    return name;
}

bool readAll(vcore::file& in, std::vector<char>& bytes)
{
    const uint64_t size = in.size();
    if (size > vlcrcSizeLimit)
        return false;
    bytes.resize(size_t(size));
    size_t done = 0;
    while (done < bytes.size()) {
        uint32_t got = 0;
        const uint32_t want = uint32_t(std::min<size_t>(chunk, bytes.size() - done));
        if (!in.read(bytes.data() + done, want, got) || got == 0)
            return false;
        done += got;
    }
    // Growth while reading: the file is being written by someone else.
    char extra = 0;
    uint32_t got = 0;
    return !in.read(&extra, 1, got) || got == 0;
}

bool writeAll(const vcore::str& path, const vcore::str& text)
{
    vcore::file out(path.data());
    out.setAccess(vcore::file::genericWrite);
    out.setSharing(0);
    out.setMode(vcore::file::createAlways);
    if (!out.open() || out.isWide())
        return false;
    vcore::str copy(text);
    const char* bytes = copy.narrow();
    const uint32_t total = uint32_t(copy.length());
    uint32_t done = 0;
    while (done < total) {
        uint32_t put = 0;
        if (!out.write(bytes + done, std::min(chunk, total - done), put) || put == 0)
            return false;
        done += put;
    }
    // A file opened read-only by the fallbacks of open() takes no bytes: caught above.
    return out.flush() && out.size() == total;
}

// Written beside, then renamed into place: a writer stopped half-way leaves target as it was,
// which matters for the backup as much as for vlcrc (it may hold an earlier backup).
bool replaceVia(const vcore::str& fresh, const vcore::str& text, const vcore::str& accessOf,
                const vcore::str& target)
{
    if (!writeAll(fresh, text)) {
        os::removeFile(fresh);
        return false;
    }
    os::copyAccess(accessOf, fresh);
    if (os::renameOver(fresh, target))
        return true;
    os::removeFile(fresh);
    return false;
}

} // namespace

bool loadVlcrc(const vcore::str& path, vcore::str& bytes)
{
    vcore::file in(path.data());
    in.setAccess(vcore::file::genericRead);
    in.setSharing(vcore::file::shareRead | vcore::file::shareWrite);
    in.setMode(vcore::file::openExisting);
    // A UTF-16 file (the byte-order mark was taken) is no vlcrc of VLC's.
    if (!in.open() || in.isWide())
        return false;
    std::vector<char> raw;
    if (!readAll(in, raw) || std::find(raw.begin(), raw.end(), '\0') != raw.end())
        return false;
    bytes.clear();
    if (!raw.empty())
        bytes.assignNarrow(raw.data(), int32_t(raw.size()));
    return bytes.length() == int32_t(raw.size());
}

bool saveVlcrc(const vcore::str& path, const vcore::str& bytes, const vcore::str& previous)
{
    const vcore::str fresh = besides(path, u".new");
    return replaceVia(fresh, previous, path, besides(path, u".bak")) && replaceVia(fresh, bytes, path, path);
}

} // namespace vlc
