#include "plugins/common/exports.h"

#include <algorithm>

#include "plugins/common/hostlink.h"

namespace plugin {

int exports::init(char16_t* nameBuffer, HostCallback callback) const
{
    if (!nameBuffer || (options_.callbackRequired && !callback))
        return 0;
    setHostCallback(callback);
    if (!session_.prepare())
        return 0;
    const vcore::str& name = session_.serviceName();
    const int32_t n = std::min(name.length(), int32_t(tolvanuNameRoom - 1));
    std::copy_n(name.data(), n, nameBuffer);
    nameBuffer[n] = 0;
    return options_.orderKey;
}

int exports::search(const char16_t* name) const
{
    return session_.accepts(name) && session_.present() ? 1 : 0;
}

int exports::connect(const char16_t* name) const
{
    return session_.accepts(name) ? int(session_.connectSession()) : 0;
}

int exports::close(const char16_t* name) const
{
    if (!session_.acceptsForClose(name))
        return 0;
    session_.closeSession();
    return 1;
}

} // namespace plugin
