#include "vwin/dir.h"

#include "vwin/dir_os.h"

namespace vwin {

namespace {

constexpr uint32_t stopGraceMs = 100;

} // namespace

dir::dir(const char16_t* path)
    : filelist(path)
{
}

dir::~dir()
{
    // The watcher must be gone before the members it reads are.
    shutdown(stopGraceMs);
    watch_.reset();
}

bool dir::watch(uint32_t filter, bool subfolders)
{
    stopWatch();
    filter_ = filter ? filter : filterFromSelection();
    subfolders_ = subfolders;
    vcore::str folder = path_;
    if (folder.empty() || folder == u".")
        folder = diros::currentFolder();
    diros::watch* opened = diros::openWatch(folder, filter_, subfolders_);
    if (!opened)
        return false;
    watch_ = std::shared_ptr<diros::watch>(opened, diros::closeWatch);
    if (start())
        return true;
    watch_.reset();
    return false;
}

void dir::stopWatch()
{
    stop(stopGraceMs);
    watch_.reset();
}

uint32_t dir::filterFromSelection() const
{
    uint32_t filter = 0;
    if (selection_ & listFolders)
        filter |= changeFolderNames;
    if (selection_ & listFiles)
        filter |= changeFileNames | changeSize | changeLastWrite;
    return filter;
}

void dir::run()
{
    // A run given up on before it got going must not touch the watch being replaced.
    if (stopRequested())
        return;
    std::shared_ptr<diros::watch> w = watch_;
    if (!w)
        return;
    diros::lowerThreadPriority();
    while (diros::waitChange(w.get(), stopEvent())) {
        if (stopRequested())
            break;
        emitEvent(u"notify");
    }
}

} // namespace vwin
