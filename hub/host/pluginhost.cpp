#include "hub/host/pluginhost.h"

#include "hub/host/hostcallback.h"
#include "hub/host/nametext.h"

PluginHost::PluginHost()
{
    classes_.reserve(32);
    hub::attachHost(this);
}

PluginHost::~PluginHost()
{
    releaseAll();
    hub::detachHost(this);
}

int PluginHost::connect(const char16_t* className)
{
    int port = 0;
    for (size_t i = 0; i < plugins_.size() && port == 0; ++i) {
        ravPlugin& p = *plugins_[i];
        if (p.enabled() && p.canConnect())
            port = p.connect(className);
    }
    return port;
}

void PluginHost::close(const char16_t* className)
{
    for (auto& p : plugins_)
        p->close(className ? className : p->className());
}

void PluginHost::closeOne(ravPlugin& plugin)
{
    plugin.close(plugin.className());
}

void PluginHost::setEnabled(ravPlugin& plugin, bool on)
{
    plugin.setEnabled(on);
    if (!on && plugin.busy())
        closeOne(plugin);
}

void PluginHost::addressReport(const vcore::str& report)
{
    int32_t space = report.find(0, u' ');
    vcore::strview name = space < 0 ? report.view() : report.mid(0, space);
    for (auto& p : plugins_)
        if (hub::sameName(name, p->instanceName().view()))
            p->setBusy(true);
}

void PluginHost::releaseAll()
{
    while (!plugins_.empty())
        plugins_.pop_back();
}

void PluginHost::insert(std::unique_ptr<ravPlugin> plugin)
{
    auto at = plugins_.begin();
    while (at != plugins_.end() && (*at)->orderKey() < plugin->orderKey())
        ++at;
    plugins_.insert(at, std::move(plugin));
}

void PluginHost::addClass(const char16_t* className)
{
    for (const vcore::str& known : classes_)
        if (hub::sameName(known.data(), className))
            return;
    classes_.emplace_back(className);
}
