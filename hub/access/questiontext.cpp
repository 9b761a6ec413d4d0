#include "hub/access/questiontext.h"

namespace hub {

vcore::str accessQuestion(const vcore::str& displayName)
{
    vcore::str text(u"Do you want to give access to ");
    text.append(displayName);
    text.append(u'?');
    return text;
}

} // namespace hub
