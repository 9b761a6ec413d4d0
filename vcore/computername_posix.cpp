#include "vcore/computername.h"

#include <unistd.h>

namespace vcore {

str computerName()
{
    // A name that fills the buffer may come without its terminator. Its bytes
    // are kept one per character, so they go on the wire as the system gave them.
    char name[257] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return str();
    str text;
    text.assignNarrow(name);
    return text;
}

} // namespace vcore
