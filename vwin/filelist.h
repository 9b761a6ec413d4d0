#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "vcore/str.h"

namespace vwin {

// One listed entry: its name (relative to the listed folder) and its attribute word.
struct fileitem {
    vcore::str name;
    uint32_t attributes = 0;
};

// The entries of a folder that match a ';'-separated pattern list and the selection flags.
class filelist {
public:
    // Selection flags.
    static constexpr uint32_t listFolders = 0x001;
    static constexpr uint32_t listFiles = 0x002;
    static constexpr uint32_t listDevices = 0x004;
    static constexpr uint32_t skipOffline = 0x010;
    static constexpr uint32_t skipReadOnly = 0x020;
    static constexpr uint32_t listHidden = 0x100;
    static constexpr uint32_t listSystem = 0x200;
    static constexpr uint32_t everySubfolder = 0x800;
    static constexpr uint32_t recurse = 0x1000;
    static constexpr uint32_t defaultSelection = 0x307;
    // Ordering flags: any flag orders by name, orderReverse backwards.
    static constexpr uint32_t orderByName = 0x01;
    static constexpr uint32_t orderReverse = 0x10;
    // Attribute bits of an entry, valued as on Windows.
    static constexpr uint32_t attrReadOnly = 0x1;
    static constexpr uint32_t attrHidden = 0x2;
    static constexpr uint32_t attrSystem = 0x4;
    static constexpr uint32_t attrFolder = 0x10;
    static constexpr uint32_t attrDevice = 0x40;
    static constexpr uint32_t attrNormal = 0x80;
    static constexpr uint32_t attrLink = 0x400;
    static constexpr uint32_t attrOffline = 0x1000;

    explicit filelist(const char16_t* path = nullptr);
    virtual ~filelist();

    // Clears the list and lists the folder; returns the number of entries.
    int32_t list();
    void clear() { items_.clear(); }

    int32_t count() const { return int32_t(items_.size()); }
    // An empty item outside 0..count-1.
    const fileitem& item(int32_t index) const;
    // The folder path joined with the entry's name.
    vcore::str fullPath(int32_t index) const;

    const vcore::str& path() const { return path_; }
    const vcore::str& patterns() const { return patterns_; }
    uint32_t selection() const { return selection_; }
    uint32_t ordering() const { return ordering_; }
    void setPath(const char16_t* path) { path_.set(path); }
    void setPatterns(const char16_t* patterns) { patterns_.set(patterns); }
    void setSelection(uint32_t flags) { selection_ = flags; }
    void setOrdering(uint32_t flags) { ordering_ = flags; }

protected:
    vcore::str path_;
    vcore::str patterns_;
    uint32_t selection_ = defaultSelection;
    uint32_t ordering_ = 0;

private:
    void listFolder(const vcore::str& folder, const vcore::str& prefix);
    // Entries of folder matching any of the patterns, without "." and "..".
    void forEachMatch(const vcore::str& folder,
                      const std::function<void(const char16_t*, uint32_t)>& found) const;
    bool selected(uint32_t attributes) const;
    void order();

    std::vector<fileitem> items_;
};

} // namespace vwin
