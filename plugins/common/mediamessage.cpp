#include "plugins/common/mediamessage.h"

#include "vcore/strtokens.h"

namespace media {
namespace {

vcore::str lowerName(vcore::strview field)
{
    vcore::str name(field);
    name.toLower();
    return name;
}

} // namespace

mediaMessage splitMediaMessage(const vcore::str& text)
{
    vcore::strtokens_var fields(u' ');
    fields.split(text);
    mediaMessage message;
    message.name = lowerName(fields.token(0));
    message.argument.set(fields.token(1));
    return message;
}

mediaMessage splitMediaMessageWholeArgument(const vcore::str& text)
{
    const int32_t space = text.find(0, u' ');
    mediaMessage message;
    message.name = lowerName(space < 0 ? text.view() : text.mid(0, space));
    if (space >= 0)
        message.argument.set(text.mid(space + 1));
    return message;
}

} // namespace media
