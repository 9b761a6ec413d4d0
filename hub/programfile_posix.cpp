#include "hub/programfile.h"

#include <unistd.h>

#include <string>

#include "hub/version.h"
#include "vcore/nativepath.h"

namespace hub {

vcore::str programPath()
{
    std::string buffer(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || size_t(n) >= buffer.size())
        return vcore::str();
    buffer.resize(size_t(n));
    return vcore::fromNativePath(buffer.c_str());
}

// Linux programs carry no version resource: the version is compiled in.
bool programVersion(uint16_t (&parts)[4])
{
    parts[0] = TOLVANU_VERSION_MAJOR;
    parts[1] = TOLVANU_VERSION_MINOR;
    parts[2] = TOLVANU_VERSION_PATCH;
    parts[3] = TOLVANU_VERSION_TWEAK;
    return true;
}

} // namespace hub
