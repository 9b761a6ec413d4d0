#pragma once
#include "plugins/common/mediacommand.h"
#include "vcore/str.h"

// One client message cut into its command name and argument.
namespace media {

struct mediaMessage {
    vcore::str name;      // lower-cased, A-Z only
    vcore::str argument;  // empty when absent

    mediaCommand command() const { return mediaCommandFromName(name.view()); }
};

// Fields are cut at every single space: the second field is the argument, further ones are dropped.
mediaMessage splitMediaMessage(const vcore::str& text);
// The argument is all the text after the first space, spaces included (a search text).
mediaMessage splitMediaMessageWholeArgument(const vcore::str& text);

} // namespace media
