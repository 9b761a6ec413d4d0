#include "hub/host/ravplugin.h"

namespace {

template <class Proc>
Proc entry(const vcore::lib& library, const char16_t* name)
{
    return reinterpret_cast<Proc>(library.getProc(name));
}

} // namespace

ravPlugin::ravPlugin() : nameBuffer_(std::make_unique<char16_t[]>(tolvanuNameRoom + 1)) {}

ravPlugin::~ravPlugin() = default;

bool ravPlugin::bind()
{
    init_ = entry<TolvanuInitProc>(*this, u"Tolvanu_init");
    search_ = entry<TolvanuSearchProc>(*this, u"Tolvanu_search");
    connect_ = entry<TolvanuConnectProc>(*this, u"Tolvanu_connect");
    close_ = entry<TolvanuCloseProc>(*this, u"Tolvanu_close");
    busy_ = false;
    return init_ && search_ && connect_ && close_;
}

int ravPlugin::init(HostCallback callback)
{
    nameBuffer_[0] = 0;
    orderKey_ = init_ ? init_(nameBuffer_.get(), callback) : 0;
    // A library may fill the whole buffer without a terminator: never read past it.
    nameBuffer_[tolvanuNameRoom - 1] = 0;
    nameBuffer_[tolvanuNameRoom] = 0;
    return orderKey_;
}

void ravPlugin::splitName()
{
    char16_t* name = nameBuffer_.get();
    int32_t dot = 0;
    while (name[dot] && name[dot] != u'.')
        ++dot;
    if (!name[dot]) {
        instanceName_.set(name);
        return;
    }
    instanceName_.set(name + dot + 1);
    name[dot] = 0;
}

void ravPlugin::release()
{
    if (close_ && close_(nameBuffer_.get()) != 0)
        busy_ = false;
    unload();
    init_ = nullptr;
    search_ = nullptr;
    connect_ = nullptr;
    close_ = nullptr;
    nameBuffer_[0] = 0;
    instanceName_.clear();
    busy_ = false;
}

int ravPlugin::connect(const char16_t* className)
{
    if (!connect_)
        return 0;
    const int port = connect_(className);
    busy_ = port != 0;
    return port;
}

int ravPlugin::close(const char16_t* className)
{
    if (!close_)
        return 0;
    const int result = close_(className);
    if (result != 0)
        busy_ = false;
    return result;
}
