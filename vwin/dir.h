#pragma once
#include <cstdint>
#include <memory>

#include "vcore/vobject.h"
#include "vwin/filelist.h"
#include "vwin/winthread.h"

namespace vwin {

namespace diros { struct watch; }

// A folder: lists its entries, and can watch it for changes, emitting "notify" (no argument)
// on the watcher's own thread for each one.
class dir : public winthread, public vcore::vObject, public filelist {
public:
    // Change kinds for watch().
    static constexpr uint32_t changeFolderNames = 0x01;
    static constexpr uint32_t changeFileNames = 0x02;
    static constexpr uint32_t changeSize = 0x04;
    static constexpr uint32_t changeLastWrite = 0x08;
    static constexpr uint32_t changeAttributes = 0x10;

    explicit dir(const char16_t* path = nullptr);
    ~dir() override;

    // Replaces any running watch. A filter of 0 follows the selection flags: folders give
    // folder-name changes, files add file-name, size and last-write changes.
    bool watch(uint32_t filter = 0, bool subfolders = false);
    void stopWatch();
    bool watching() const { return watch_ != nullptr; }

protected:
    void run() override;

private:
    uint32_t filterFromSelection() const;

    // Shared with the watcher thread, which may outlive a stop that ran out of patience.
    std::shared_ptr<diros::watch> watch_;
    uint32_t filter_ = 0;
    bool subfolders_ = false;
};

} // namespace vwin
