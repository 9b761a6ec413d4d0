#include "hub/host/hostcallback.h"
#include "hub/host/librarypattern.h"
#include "hub/host/pluginhost.h"
#include "vwin/dir.h"

int32_t PluginHost::loadAll(const vcore::str& programPath, const vcore::str& version)
{
    version_ = version;
    const int32_t cut = programPath.findLastOf(programPath.length(), u"\\/");
    vcore::str folder(programPath.mid(0, cut + 1));
    int32_t loaded = loadFolder(folder);
    // A packaged program keeps its plug-ins apart: /usr/bin/tolvanu, /usr/lib/tolvanu/.
    if (loaded == 0 && hub::installedPluginFolder && cut > 0) {
        const int32_t above = programPath.findLastOf(cut - 1, u"\\/");
        folder = vcore::str(programPath.mid(0, above + 1));
        folder.append(hub::installedPluginFolder);
        loaded = loadFolder(folder);
    }
    vcore::str line;
    line.format(u"plugins: %d loaded from %s", loaded, folder.data());
    emitEvent(u"log", &line);
    return loaded;
}

// Listed by name, so equal order keys come out the same on every file system.
int32_t PluginHost::loadFolder(const vcore::str& folder)
{
    vwin::dir listing(folder.data());
    listing.setPatterns(hub::libraryPattern);
    listing.setSelection(vwin::filelist::listFiles | vwin::filelist::listHidden | vwin::filelist::listSystem);
    listing.setOrdering(vwin::filelist::orderByName);
    listing.list();
    int32_t loaded = 0;
    for (int32_t i = 0; i < listing.count(); ++i)
        loaded += loadOne(listing.fullPath(i), listing.item(i).name) ? 1 : 0;
    return loaded;
}

bool PluginHost::loadOne(const vcore::str& path, const vcore::str& fileName)
{
    auto plugin = std::make_unique<ravPlugin>();
    if (!plugin->load(path.data()))
        return false;
    if (!plugin->bind() || plugin->init(&hub::HostCallback) == 0) {
        plugin->release();
        return false;
    }
    plugin->splitName();
    const char16_t* className = plugin->className();
    vcore::str line;
    line.format(u"plugin: %s (service %s) loaded", fileName.data(), className);
    insert(std::move(plugin));
    emitEvent(u"log", &line);
    addClass(className);
    return true;
}
