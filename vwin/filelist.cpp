#include "vwin/filelist.h"

#include <algorithm>

#include "vcore/strchars.h"
#include "vwin/dir_os.h"

namespace vwin {

using vcore::str;

namespace {

bool isDotEntry(const char16_t* name)
{
    return name[0] == u'.' && (name[1] == 0 || (name[1] == u'.' && name[2] == 0));
}

// Case-insensitive first, so "b" and "B" sit together; exact order breaks ties.
bool nameBefore(const fileitem& a, const fileitem& b)
{
    int32_t n = std::min(a.name.length(), b.name.length());
    for (int32_t i = 0; i < n; ++i) {
        char16_t x = vcore::chars::lower(a.name[i]), y = vcore::chars::lower(b.name[i]);
        if (x != y)
            return x < y;
    }
    if (a.name.length() != b.name.length())
        return a.name.length() < b.name.length();
    return a.name.compare(b.name) < 0;
}

// Links are not followed down: one pointing upwards would never end.
bool descendable(uint32_t attributes)
{
    return (attributes & filelist::attrFolder) && !(attributes & filelist::attrLink);
}

void addUnique(std::vector<str>& names, const char16_t* name)
{
    for (const str& known : names)
        if (known == name)
            return;
    names.emplace_back(name);
}

} // namespace

filelist::filelist(const char16_t* path)
    : path_(path ? path : u""), patterns_(u"*.*")
{
}

filelist::~filelist() = default;

const fileitem& filelist::item(int32_t index) const
{
    static const fileitem none;
    return index >= 0 && index < count() ? items_[size_t(index)] : none;
}

str filelist::fullPath(int32_t index) const
{
    return diros::join(path_, item(index).name);
}

int32_t filelist::list()
{
    items_.clear();
    listFolder(path_, str());
    order();
    return count();
}

void filelist::listFolder(const str& folder, const str& prefix)
{
    bool everyOne = selection_ & everySubfolder;
    std::vector<str> subfolders;
    forEachMatch(folder, [&](const char16_t* name, uint32_t attributes) {
        if (selected(attributes)) {
            str relative(prefix);
            relative.append(name);
            items_.push_back({relative, attributes});
        }
        if (!everyOne && descendable(attributes))
            addUnique(subfolders, name);
    });
    if (!(selection_ & recurse))
        return;
    if (everyOne) {
        diros::scan(folder, str(u"*"), [&](const char16_t* name, uint32_t attributes) {
            if (!isDotEntry(name) && descendable(attributes))
                addUnique(subfolders, name);
        });
    }
    for (const str& sub : subfolders) {
        str inner(prefix);
        inner.append(sub);
        inner.append(diros::separator);
        listFolder(diros::join(folder, sub), inner);
    }
}

void filelist::forEachMatch(const str& folder, const diros::visitor& found) const
{
    auto withoutDots = [&](const char16_t* name, uint32_t attributes) {
        if (!isDotEntry(name))
            found(name, attributes);
    };
    const str& all = patterns_;
    for (int32_t start = 0; start <= all.length();) {
        int32_t end = all.find(start, u';');
        if (end < 0)
            end = all.length();
        if (end > start)
            diros::scan(folder, str(all.mid(start, end - start)), withoutDots);
        start = end + 1;
    }
}

bool filelist::selected(uint32_t attributes) const
{
    uint32_t s = selection_;
    if (attributes & attrFolder) {
        if (!(s & listFolders) || (s & everySubfolder))
            return false;
    } else if (attributes & attrDevice) {
        if (!(s & listDevices))
            return false;
    } else if (!(s & listFiles)) {
        return false;
    }
    if ((attributes & attrHidden) && !(s & listHidden))
        return false;
    if ((attributes & attrSystem) && !(s & listSystem))
        return false;
    if ((attributes & attrReadOnly) && (s & skipReadOnly))
        return false;
    if ((attributes & attrOffline) && (s & skipOffline))
        return false;
    return true;
}

void filelist::order()
{
    if (!ordering_)
        return;
    std::stable_sort(items_.begin(), items_.end(), nameBefore);
    if (ordering_ & orderReverse)
        std::reverse(items_.begin(), items_.end());
}

} // namespace vwin
