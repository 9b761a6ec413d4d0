#include "plugins/common/servicename.h"

#include "plugins/common/textview.h"

namespace plugin {

vcore::strview serviceClass(const vcore::str& serviceName)
{
    int32_t dot = serviceName.find(0, u'.');
    return dot < 0 ? serviceName.view() : serviceName.mid(0, dot);
}

bool namesService(const char16_t* name, const vcore::str& serviceName)
{
    if (!name)
        return false;
    vcore::strview asked = media::viewOf(name);
    return media::equalsIgnoreCase(asked, serviceClass(serviceName)) ||
           media::equalsIgnoreCase(asked, serviceName.view());
}

} // namespace plugin
